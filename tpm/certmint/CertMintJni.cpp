// The native methods of pl.vostrel.pellmar.tpm.TpmJniInterface. Every failure
// reaches Java as a pending exception; nothing throws out of them.
#include <jni.h>

#include <new>
#include <optional>
#include <string>

#include "certmint/CertMint.h"

namespace {

using zq::tpm::certmint::Failure;

constexpr char kExceptionClass[] = "pl/vostrel/pellmar/tpm/TpmJniException";

// The UTF-16 copy of a Java string, nothing for null. False when its
// characters cannot be had: the virtual machine's exception is then pending
// and no further JNI call may be made.
bool copyJavaString(JNIEnv* env, jstring string, std::optional<std::u16string>* copy) {
  if (!string) return true;
  const jsize length = env->GetStringLength(string);
  const jchar* chars = env->GetStringChars(string, nullptr);
  if (!chars) return false;
  copy->emplace(reinterpret_cast<const char16_t*>(chars), static_cast<std::size_t>(length));
  env->ReleaseStringChars(string, chars);
  return true;
}

const char16_t* orNull(const std::optional<std::u16string>& text) { return text ? text->c_str() : nullptr; }

void throwNew(JNIEnv* env, const char* className, const char* message) {
  // A missing class leaves its NoClassDefFoundError pending instead.
  jclass exceptionClass = env->FindClass(className);
  if (!exceptionClass) return;
  env->ThrowNew(exceptionClass, message);
  env->DeleteLocalRef(exceptionClass);
}

// Allocation is the one thing that throws in this library.
void throwOutOfMemory(JNIEnv* env) {
  if (!env->ExceptionCheck()) throwNew(env, "java/lang/OutOfMemoryError", "certmint: native memory exhausted");
}

}  // namespace

extern "C" {

JNIEXPORT jstring JNICALL Java_pl_vostrel_pellmar_tpm_TpmJniInterface_genKeyCsr(JNIEnv* env, jobject,
                                                                                 jstring keyName, jstring subject) {
  try {
    std::optional<std::u16string> name, subjectText;
    if (!copyJavaString(env, keyName, &name) || !copyJavaString(env, subject, &subjectText)) return nullptr;
    std::u16string request;
    const Failure failure =
        zq::tpm::certmint::genKeyCsr(*zq::tpm::certmint::makeCertMintPlatform(), orNull(name), orNull(subjectText), &request);
    if (failure) {
      throwNew(env, kExceptionClass, failure->c_str());
      return nullptr;
    }
    return env->NewString(reinterpret_cast<const jchar*>(request.data()), static_cast<jsize>(request.size()));
  } catch (const std::bad_alloc&) {
    throwOutOfMemory(env);
    return nullptr;
  }
}

JNIEXPORT void JNICALL Java_pl_vostrel_pellmar_tpm_TpmJniInterface_importCert(JNIEnv* env, jobject,
                                                                              jstring keyName, jstring certificate) {
  try {
    std::optional<std::u16string> name, certificateText;
    if (!copyJavaString(env, keyName, &name) || !copyJavaString(env, certificate, &certificateText)) return;
    const Failure failure =
        zq::tpm::certmint::importCert(*zq::tpm::certmint::makeCertMintPlatform(), orNull(name), orNull(certificateText));
    if (failure) throwNew(env, kExceptionClass, failure->c_str());
  } catch (const std::bad_alloc&) {
    throwOutOfMemory(env);
  }
}

}  // extern "C"
