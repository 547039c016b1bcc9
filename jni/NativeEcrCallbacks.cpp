#include "jni/NativeEcrCallbacks.h"

#include <climits>
#include <cstring>

#include "core/zumbra_callbacks.h"
#include "core/zumbra_log.h"
#include "jni/JniFrame.h"
#include "zumbra_terminal_NativeEcrCallbacks.h"

namespace zq::app::jni {
namespace {

// The methods of the callback object, in the order register looks them up.
jmethodID idHandleDevLog = nullptr;
jmethodID idHandleCommLog = nullptr;
jmethodID idHandleBusLog = nullptr;
jmethodID idShowPromptScreen = nullptr;
jmethodID idShowOkScreen = nullptr;
jmethodID idSignatureRequest = nullptr;
jmethodID idCopyRequest = nullptr;
jmethodID idWaitForCard = nullptr;
jmethodID idWaitForPin = nullptr;
jmethodID idWaitForCardRemoval = nullptr;
jmethodID idHandleStatusChange = nullptr;
jmethodID idCurrencyRequest = nullptr;
jmethodID idSelectionRequest = nullptr;
jmethodID idShowYesNoScreen = nullptr;
jmethodID idGetCashbackAmount = nullptr;
jmethodID idGetAuthorizationCode = nullptr;
jmethodID idGetUserData = nullptr;
jmethodID idGetAmount = nullptr;

// The most a data-entry answer may hold before its NUL.
constexpr std::size_t kMaxAnswerLength = sizeof(cb_UserProvidedData::data) - 1;

// Bridge calls running inside one another: a Java callback may call a native
// method that logs, which raises the log bridge on the same thread.
int callbackDepth = 0;

void describeException(JNIEnv* env) {
  if (env->ExceptionCheck()) {
    // Prints the exception and clears it: nothing thrown in Java may unwind
    // into the library.
    env->ExceptionDescribe();
    env->ExceptionClear();
  }
}

void detachIfAttached() {
  if (shouldDetach && javaVm->DetachCurrentThread() == JNI_OK) shouldDetach = false;
}

// One bridge call: the environment it obtained, given back on every path.
// Only the outermost call detaches a thread it attached; a nested bridge
// detaching it would leave the outer one with a dead environment.
class CallbackScope : public utils::NonAssignable {
 public:
  CallbackScope() : env_(nullptr) {
    if (getJniEnvironment(&env_) != 0) {
      env_ = nullptr;
      return;
    }
    ++callbackDepth;
  }
  ~CallbackScope() {
    if (!env_) return;
    --callbackDepth;
    describeException(env_);
    if (callbackDepth == 0) detachIfAttached();
  }
  CallbackScope(const CallbackScope&) = delete;

  // Usable when an environment was obtained and the method was found.
  bool ready(jmethodID method) const {
    return env_ != nullptr && method != nullptr && javaCallbackObject != nullptr;
  }
  JNIEnv* env() const { return env_; }
  // A Java exception makes the answer the one a failed call gives.
  bool threw() const { return env_->ExceptionCheck() == JNI_TRUE; }

 private:
  JNIEnv* env_;
};

jbyteArray newTextArray(JNIEnv* env, const char* text) {
  if (!text) text = "";
  const std::size_t length = std::strlen(text);
  if (length > static_cast<std::size_t>(INT_MAX)) return nullptr;
  jbyteArray array = env->NewByteArray(static_cast<jsize>(length));
  if (array) setByteArray(env, array, text);
  return array;
}

void textCallback(jmethodID method, const char* text) {
  CallbackScope scope;
  if (!scope.ready(method)) return;
  JNIEnv* env = scope.env();
  LocalRef<jbyteArray> bytes(env, newTextArray(env, text));
  if (!bytes) return;
  env->CallVoidMethod(javaCallbackObject, method, bytes.get());
}

bool questionCallback(jmethodID method, const char* text) {
  CallbackScope scope;
  if (!scope.ready(method)) return false;
  JNIEnv* env = scope.env();
  LocalRef<jbyteArray> bytes(env, newTextArray(env, text));
  if (!bytes) return false;
  const jboolean answer = env->CallBooleanMethod(javaCallbackObject, method, bytes.get());
  return !scope.threw() && answer != JNI_FALSE;
}

// The int answer of a list choice: a 1-based index stored as given (the
// callback store checks it against the list), -1 refuses the choice.
bool storeChoice(jint answer, unsigned* selected) {
  if (answer >= 0 && selected) *selected = static_cast<unsigned>(answer);
  return answer != -1;
}

// Data-entry answer into the caller's buffer. A null answer leaves the buffer
// as prepared; an answer the buffer cannot hold is refused whole rather than
// cut into a different value.
void valueCallback(jmethodID method, const char* prompt, cb_UserProvidedData* data) {
  CallbackScope scope;
  if (!scope.ready(method) || !data) return;
  JNIEnv* env = scope.env();
  LocalRef<jbyteArray> bytes(env, newTextArray(env, prompt));
  if (!bytes) return;
  const jint minLength = data->minLength > INT_MAX ? INT_MAX : static_cast<jint>(data->minLength);
  const jint maxLength = data->maxLength > INT_MAX ? INT_MAX : static_cast<jint>(data->maxLength);
  LocalRef<jstring> answer(env, static_cast<jstring>(env->CallObjectMethod(
                                    javaCallbackObject, method, bytes.get(), minLength, maxLength)));
  if (scope.threw() || !answer) return;
  JavaChars chars(env, answer.get());
  if (!chars.available()) return;
  const std::size_t length = std::strlen(chars.get());
  if (length > kMaxAnswerLength) {
    logDevError("Answer of %zu bytes does not fit the %zu-byte entry, ignored", length,
                kMaxAnswerLength);
    return;
  }
  std::memcpy(data->data, chars.get(), length + 1);
}

void native_HandleDevLog(const char* line) { textCallback(idHandleDevLog, line); }
void native_HandleCommLog(const char* line) { textCallback(idHandleCommLog, line); }
void native_HandleBusLog(const char* line) { textCallback(idHandleBusLog, line); }
void native_ShowPromptScreen(const char* prompt) { textCallback(idShowPromptScreen, prompt); }
void native_ShowOkScreen(const char* prompt) { textCallback(idShowOkScreen, prompt); }
bool native_SignatureRequest(const char* prompt) {
  return questionCallback(idSignatureRequest, prompt);
}
bool native_CopyRequest(const char* prompt) { return questionCallback(idCopyRequest, prompt); }
bool native_WaitForCard(const char* prompt) { return questionCallback(idWaitForCard, prompt); }
bool native_WaitForPin(const char* prompt) { return questionCallback(idWaitForPin, prompt); }
void native_WaitForCardRemoval(const char* prompt) { textCallback(idWaitForCardRemoval, prompt); }
bool native_ShowYesNoScreen(const char* prompt) {
  return questionCallback(idShowYesNoScreen, prompt);
}

void native_HandleStatusChange(ecr_terminalStatus status) {
  CallbackScope scope;
  if (!scope.ready(idHandleStatusChange)) return;
  scope.env()->CallVoidMethod(javaCallbackObject, idHandleStatusChange, static_cast<jint>(status));
}

bool native_CurrencyRequest(const char** labels, size_t count, unsigned* selected) {
  CallbackScope scope;
  if (!scope.ready(idCurrencyRequest) || count > static_cast<size_t>(INT_MAX)) return false;
  JNIEnv* env = scope.env();
  LocalRef<jclass> stringClass(env, env->FindClass("java/lang/String"));
  if (!stringClass) return false;
  LocalRef<jobjectArray> list(
      env, env->NewObjectArray(static_cast<jsize>(count), stringClass.get(), nullptr));
  if (!list) return false;
  for (size_t i = 0; i < count; ++i) {
    LocalRef<jstring> label(env, newAsciiString(env, labels ? labels[i] : nullptr));
    if (!label) return false;
    env->SetObjectArrayElement(list.get(), static_cast<jsize>(i), label.get());
  }
  jint answer = env->CallIntMethod(javaCallbackObject, idCurrencyRequest, list.get());
  if (scope.threw()) answer = 0;
  return storeChoice(answer, selected);
}

bool native_SelectionRequest(const char** options, size_t count, unsigned* selected,
                             const char* title) {
  CallbackScope scope;
  if (!scope.ready(idSelectionRequest) || count > static_cast<size_t>(INT_MAX)) return false;
  JNIEnv* env = scope.env();
  LocalRef<jclass> bytesClass(env, env->FindClass("[B"));
  if (!bytesClass) return false;
  LocalRef<jobjectArray> list(
      env, env->NewObjectArray(static_cast<jsize>(count), bytesClass.get(), nullptr));
  if (!list) return false;
  for (size_t i = 0; i < count; ++i) {
    LocalRef<jbyteArray> option(env, newTextArray(env, options ? options[i] : nullptr));
    if (!option) return false;
    env->SetObjectArrayElement(list.get(), static_cast<jsize>(i), option.get());
  }
  LocalRef<jbyteArray> titleBytes(env, newTextArray(env, title));
  if (!titleBytes) return false;
  jint answer =
      env->CallIntMethod(javaCallbackObject, idSelectionRequest, list.get(), titleBytes.get());
  if (scope.threw()) answer = 0;
  return storeChoice(answer, selected);
}

void native_GetCashbackAmount(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(idGetCashbackAmount, prompt, data);
}
void native_GetAuthorizationCode(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(idGetAuthorizationCode, prompt, data);
}
void native_GetAmount(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(idGetAmount, prompt, data);
}
void native_GetUserData(const char* prompt, cb_UserProvidedData* data, bool (*isAllowed)(char)) {
  // NativeInputValidator asks this checker while the Java side collects the
  // answer, and after it until the next user-data prompt.
  isCharacterAllowedChecker = isAllowed;
  valueCallback(idGetUserData, prompt, data);
}

struct CallbackMethod {
  const char* name;
  const char* signature;
  jmethodID* id;
  void (*install)(bool on);  // installs the bridge, or clears the callback
};

const CallbackMethod kCallbackMethods[] = {
    {"cb_DevLog", "([B)V", &idHandleDevLog,
     [](bool on) { cb_setHandleDevLog(on ? native_HandleDevLog : nullptr); }},
    {"cb_CommLog", "([B)V", &idHandleCommLog,
     [](bool on) { cb_setHandleCommLog(on ? native_HandleCommLog : nullptr); }},
    {"cb_BusLog", "([B)V", &idHandleBusLog,
     [](bool on) { cb_setHandleBusLog(on ? native_HandleBusLog : nullptr); }},
    {"cb_ShowPromptScreen", "([B)V", &idShowPromptScreen,
     [](bool on) { cb_setShowPromptScreen(on ? native_ShowPromptScreen : nullptr); }},
    {"cb_ShowOkScreen", "([B)V", &idShowOkScreen,
     [](bool on) { cb_setShowOkScreen(on ? native_ShowOkScreen : nullptr); }},
    {"cb_SignatureRequest", "([B)Z", &idSignatureRequest,
     [](bool on) { cb_setSignatureRequest(on ? native_SignatureRequest : nullptr); }},
    {"cb_CopyRequest", "([B)Z", &idCopyRequest,
     [](bool on) { cb_setCopyRequest(on ? native_CopyRequest : nullptr); }},
    {"cb_WaitForCard", "([B)Z", &idWaitForCard,
     [](bool on) { cb_setWaitForCard(on ? native_WaitForCard : nullptr); }},
    {"cb_WaitForPin", "([B)Z", &idWaitForPin,
     [](bool on) { cb_setWaitForPin(on ? native_WaitForPin : nullptr); }},
    {"cb_WaitForCardRemoval", "([B)V", &idWaitForCardRemoval,
     [](bool on) { cb_setWaitForCardRemoval(on ? native_WaitForCardRemoval : nullptr); }},
    {"cb_StatusChange", "(I)V", &idHandleStatusChange,
     [](bool on) { cb_setHandleStatusChange(on ? native_HandleStatusChange : nullptr); }},
    {"cb_AskForCurrency", "([Ljava/lang/String;)I", &idCurrencyRequest,
     [](bool on) { cb_setCurrencyRequest(on ? native_CurrencyRequest : nullptr); }},
    {"cb_AskForSelection", "([[B[B)I", &idSelectionRequest,
     [](bool on) { cb_setSelectRequest(on ? native_SelectionRequest : nullptr); }},
    {"cb_ShowYesNoScreen", "([B)Z", &idShowYesNoScreen,
     [](bool on) { cb_setShowYesNoScreen(on ? native_ShowYesNoScreen : nullptr); }},
    {"cb_GetCashbackAmount", "([BII)Ljava/lang/String;", &idGetCashbackAmount,
     [](bool on) { cb_setGetCashbackAmount(on ? native_GetCashbackAmount : nullptr); }},
    {"cb_GetAuthorizationCode", "([BII)Ljava/lang/String;", &idGetAuthorizationCode,
     [](bool on) { cb_setGetAuthorizationCode(on ? native_GetAuthorizationCode : nullptr); }},
    {"cb_GetUserData", "([BII)Ljava/lang/String;", &idGetUserData,
     [](bool on) { cb_setGetUserData(on ? native_GetUserData : nullptr); }},
    {"cb_GetAmount", "([BII)Ljava/lang/String;", &idGetAmount,
     [](bool on) { cb_setGetAmount(on ? native_GetAmount : nullptr); }},
};
constexpr std::size_t kCallbackMethodCount = sizeof kCallbackMethods / sizeof kCallbackMethods[0];

// How many rows an earlier registration installed.
std::size_t installedRows = 0;

}  // namespace

int getJniEnvironment(JNIEnv** env) {
  if (!env || !javaVm) return -1;
  void* found = nullptr;
  switch (javaVm->GetEnv(&found, JNI_VERSION_1_6)) {
    case JNI_OK:
      *env = static_cast<JNIEnv*>(found);
      return 0;
    case JNI_EDETACHED:
      if (javaVm->AttachCurrentThread(&found, nullptr) != JNI_OK) return -1;
      shouldDetach = true;
      *env = static_cast<JNIEnv*>(found);
      return 0;
    default:
      return -1;
  }
}

void finishNativeCallback(JNIEnv* env) {
  describeException(env);
  detachIfAttached();
}

void setByteArray(JNIEnv* env, jbyteArray array, const char* text) {
  const std::size_t length = std::strlen(text);
  if (length > 0) {
    env->SetByteArrayRegion(array, 0, static_cast<jsize>(length),
                            reinterpret_cast<const jbyte*>(text));
  }
}

}  // namespace zq::app::jni

extern "C" JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrCallbacks_register(JNIEnv* env,
                                                                                  jobject self) {
  using namespace zq::app::jni;
  JavaVM* vm = nullptr;
  if (env->GetJavaVM(&vm) != JNI_OK) return -1;
  javaVm = vm;
  jobject object = env->NewGlobalRef(self);
  if (!object) return -1;
  // The object of an earlier registration is let go: its global reference
  // would otherwise keep it alive for the rest of the process.
  if (javaCallbackObject) env->DeleteGlobalRef(javaCallbackObject);
  javaCallbackObject = object;
  LocalRef<jclass> callbackClass(env, env->GetObjectClass(self));
  if (!callbackClass) return -1;
  for (std::size_t row = 0; row < kCallbackMethodCount; ++row) {
    const CallbackMethod& method = kCallbackMethods[row];
    *method.id = env->GetMethodID(callbackClass.get(), method.name, method.signature);
    if (!*method.id) {
      // The ids of this and later rows belong to an earlier object's class, if
      // any: calling them on this object would break the virtual machine, so
      // they are dropped and what an earlier registration installed is
      // cleared. The NoSuchMethodError stays pending for the Java caller.
      for (std::size_t later = row; later < kCallbackMethodCount; ++later) {
        *kCallbackMethods[later].id = nullptr;
        if (later < installedRows) kCallbackMethods[later].install(false);
      }
      installedRows = row;
      return -1;
    }
    method.install(true);
  }
  installedRows = kCallbackMethodCount;
  return 0;
}
