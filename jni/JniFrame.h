// What every native method of the Java binding shares: the process-wide
// handles, and small owners for the JNI values it borrows or creates.
#pragma once

#include <jni.h>

#include <cstddef>
#include <cstdint>

#include "api/zumbra_ecr.h"
#include "core/NonAssignable.h"
#include "core/zumbra_export.h"
#include "core/zumbra_tlv_store.h"
#include "printouts/documents/zumbra_printout.h"

// The binding keeps one terminal context, one printout context, one TLV
// store and one callback registration per process. The binding's methods
// read ecrCtx and printoutCtx only through the guard of jni/HandleGuard.h,
// which keeps the context a call works on alive for the whole call; a call
// without a context (never set, cleaned, or being replaced by another
// thread) passes NULL and the library answers for NULL. tlvStore is passed
// as it is. javaCallbackObject is the object of the latest registration (the
// bridges take it with its method ids from one record); shouldDetach is each
// thread's own: true while a callback that attached this thread runs.
// isCharacterAllowedChecker is read and written only through
// characterChecker and setCharacterChecker below.
ZQ_BEGIN_DECLS
ZQ_API extern EcrCtx_s* ecrCtx;
ZQ_API extern PrintoutCtx_s* printoutCtx;
ZQ_API extern TlvStore_s* tlvStore;
ZQ_API extern JavaVM* javaVm;
ZQ_API extern jobject javaCallbackObject;
ZQ_API extern thread_local bool shouldDetach;
ZQ_API extern bool (*isCharacterAllowedChecker)(char);
ZQ_END_DECLS

namespace zq::app::jni {

// The character checker of the latest user-data prompt. The bridge sets it
// on the thread of the running command, and the Java side of the prompt may
// ask it on any thread: both go through one lock.
using CharacterChecker = bool (*)(char);
void setCharacterChecker(CharacterChecker checker);
CharacterChecker characterChecker();

// Answer of an int method whose Java argument could not be had.
constexpr jint kArgumentUnavailable = -1;

// Java ints and booleans as the library takes them; narrower numbers have
// their own conversions with the methods that need them.
inline std::uint32_t asUnsigned(jint value) { return static_cast<std::uint32_t>(value); }
inline bool asBool(jboolean value) { return value != JNI_FALSE; }

// The elements of a Java byte[], released with mode 0 (copied back and freed)
// whatever the call answered. A null array gives no elements: handing it to
// GetByteArrayElements would bring the virtual machine down.
class JavaBytes : public utils::NonAssignable {
 public:
  JavaBytes(JNIEnv* env, jbyteArray array);
  ~JavaBytes();
  JavaBytes(const JavaBytes&) = delete;

  bool available() const { return elements_ != nullptr; }
  const unsigned char* data() const { return reinterpret_cast<const unsigned char*>(elements_); }
  std::size_t length() const { return length_; }
  // True when the first `count` bytes lie inside the array.
  bool holds(jint count) const { return count >= 0 && static_cast<std::size_t>(count) <= length_; }
  // The elements as NUL-terminated text, or null when the array does not end
  // with a 0 byte: the library would read such a text past the array's end.
  const char* text() const;

 private:
  JNIEnv* env_;
  jbyteArray array_;
  jbyte* elements_;
  std::size_t length_;
};

// The modified UTF-8 characters of a Java String, released after the call.
// A null String gives no characters.
class JavaChars : public utils::NonAssignable {
 public:
  JavaChars(JNIEnv* env, jstring text);
  ~JavaChars();
  JavaChars(const JavaChars&) = delete;

  bool available() const { return chars_ != nullptr; }
  const char* get() const { return chars_; }

 private:
  JNIEnv* env_;
  jstring text_;
  const char* chars_;
};

// A local reference deleted when it goes out of scope, so that a callback
// raised many times on one native frame does not fill the local table.
template <typename T>
class LocalRef : public utils::NonAssignable {
 public:
  LocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
  ~LocalRef() {
    if (ref_) env_->DeleteLocalRef(ref_);
  }
  LocalRef(const LocalRef&) = delete;
  T get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }

 private:
  JNIEnv* env_;
  T ref_;
};

// A frame of `count` local references more than the 16 every native method
// is given, for a method that holds one reference per element of a Java
// array at once; popped, with every reference in it, when it goes out of
// scope. The 16 stay for the callbacks the library raises meanwhile.
class LocalFrame : public utils::NonAssignable {
 public:
  LocalFrame(JNIEnv* env, jsize count);
  ~LocalFrame();
  LocalFrame(const LocalFrame&) = delete;
  // False when the virtual machine could not make room (its exception is
  // then pending).
  bool pushed() const { return pushed_; }

 private:
  JNIEnv* env_;
  bool pushed_;
};

// A class the binding constructs, with its constructor, looked up before the
// library is asked for anything: a failed lookup leaves the virtual
// machine's exception pending, and the library must not run then, since its
// log lines and prompts call back into Java.
class JavaConstructor : public utils::NonAssignable {
 public:
  JavaConstructor(JNIEnv* env, const char* className, const char* signature);
  JavaConstructor(const JavaConstructor&) = delete;

  bool available() const { return constructor_ != nullptr; }
  // A new object, or null when it cannot be created.
  template <typename... Args>
  jobject construct(Args... args) const {
    return env_->NewObject(class_.get(), constructor_, args...);
  }

 private:
  JNIEnv* env_;
  LocalRef<jclass> class_;
  jmethodID constructor_;
};

// A byte[] holding exactly `length` bytes, or null when it cannot be created
// (the virtual machine's exception then stays pending).
jbyteArray newByteArray(JNIEnv* env, const void* data, std::size_t length);

// A String of text that ought to be ASCII: codes, labels, amounts and
// identifiers, many of them straight from the terminal. NewStringUTF takes
// modified UTF-8, which a stray byte above 0x7F (or a 0 inside the text)
// would not be, so such bytes come out as '?'. Null when it cannot be
// created.
jstring newAsciiString(JNIEnv* env, const char* text, std::size_t length);
jstring newAsciiString(JNIEnv* env, const char* text);

}  // namespace zq::app::jni
