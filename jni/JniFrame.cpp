#include "jni/JniFrame.h"

#include <climits>
#include <cstring>
#include <mutex>
#include <string>

EcrCtx_s* ecrCtx = nullptr;
PrintoutCtx_s* printoutCtx = nullptr;
TlvStore_s* tlvStore = nullptr;
JavaVM* javaVm = nullptr;
jobject javaCallbackObject = nullptr;
thread_local bool shouldDetach = false;
bool (*isCharacterAllowedChecker)(char) = nullptr;

namespace zq::app::jni {

namespace {
std::mutex checkerMutex;
}  // namespace

void setCharacterChecker(CharacterChecker checker) {
  const std::lock_guard<std::mutex> lock(checkerMutex);
  isCharacterAllowedChecker = checker;
}

CharacterChecker characterChecker() {
  const std::lock_guard<std::mutex> lock(checkerMutex);
  return isCharacterAllowedChecker;
}

JavaBytes::JavaBytes(JNIEnv* env, jbyteArray array)
    : env_(env), array_(array), elements_(nullptr), length_(0) {
  if (!array_) return;
  elements_ = env_->GetByteArrayElements(array_, nullptr);
  if (elements_) length_ = static_cast<std::size_t>(env_->GetArrayLength(array_));
}

JavaBytes::~JavaBytes() {
  if (elements_) env_->ReleaseByteArrayElements(array_, elements_, 0);
}

const char* JavaBytes::text() const {
  if (!elements_ || length_ == 0 || elements_[length_ - 1] != 0) return nullptr;
  return reinterpret_cast<const char*>(elements_);
}

JavaChars::JavaChars(JNIEnv* env, jstring text) : env_(env), text_(text), chars_(nullptr) {
  if (text_) chars_ = env_->GetStringUTFChars(text_, nullptr);
}

JavaChars::~JavaChars() {
  if (chars_) env_->ReleaseStringUTFChars(text_, chars_);
}

LocalFrame::LocalFrame(JNIEnv* env, jsize count) : env_(env), pushed_(false) {
  // The default capacity of a native frame.
  constexpr jsize kCallbackRoom = 16;
  if (count >= 0 && count <= INT_MAX - kCallbackRoom) {
    pushed_ = env_->PushLocalFrame(count + kCallbackRoom) == JNI_OK;
  }
}

LocalFrame::~LocalFrame() {
  if (pushed_) env_->PopLocalFrame(nullptr);
}

JavaConstructor::JavaConstructor(JNIEnv* env, const char* className, const char* signature)
    : env_(env), class_(env, env->FindClass(className)), constructor_(nullptr) {
  if (class_) constructor_ = env_->GetMethodID(class_.get(), "<init>", signature);
}

jbyteArray newByteArray(JNIEnv* env, const void* data, std::size_t length) {
  if (length > static_cast<std::size_t>(INT_MAX)) return nullptr;
  const jsize size = static_cast<jsize>(length);
  jbyteArray array = env->NewByteArray(size);
  if (!array) return nullptr;
  if (size > 0) env->SetByteArrayRegion(array, 0, size, static_cast<const jbyte*>(data));
  return array;
}

jstring newAsciiString(JNIEnv* env, const char* text, std::size_t length) {
  std::string ascii(text ? text : "", text ? length : 0);
  for (char& c : ascii) {
    if (c == '\0' || static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return env->NewStringUTF(ascii.c_str());
}

jstring newAsciiString(JNIEnv* env, const char* text) {
  return newAsciiString(env, text, text ? std::strlen(text) : 0);
}

}  // namespace zq::app::jni
