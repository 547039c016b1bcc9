#include "jni/NativeEcrCallbacks.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "core/ExportGuard.h"
#include "core/zumbra_callbacks.h"
#include "core/zumbra_log.h"
#include "jni/JniFrame.h"
#include "jni/JniGuard.h"
#include "zumbra_terminal_NativeEcrCallbacks.h"

namespace zq::app::jni {
namespace {

// One registration: the callback object and the ids of its class's methods,
// in the order register looks them up. Never changed once published, so a
// bridge that took it reads an object and ids of the same class.
struct CallbackRegistration {
  jobject object = nullptr;
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
};
using CallbackId = jmethodID CallbackRegistration::*;

// The registration the bridges use. A register on one thread while another
// thread's call raises callbacks publishes a new record here; the record it
// replaced is kept, with its global reference, until no bridge runs on any
// thread, since a bridge may still hold it.
std::atomic<const CallbackRegistration*> currentRegistration{nullptr};
// Bridges running now, on every thread. A bridge counts itself before it
// takes the record, so a register that finds none running after it
// published knows that no bridge holds a replaced record.
std::atomic<int> bridgesRunning{0};
// Serialises registrations, and guards the replaced records.
std::mutex registrationMutex;
// Records replaced while some bridge was running. Never destroyed: a bridge
// of a thread still running when the process ends may hold one.
std::vector<const CallbackRegistration*>& replacedRegistrations() {
  static auto* replaced = new std::vector<const CallbackRegistration*>();
  return *replaced;
}

// The most a data-entry answer may hold before its NUL.
constexpr std::size_t kMaxAnswerLength = sizeof(cb_UserProvidedData::data) - 1;

// Bridge calls running inside one another on this thread: a Java callback
// may call a native method that logs, which raises the log bridge on the same
// thread. Only the outermost one detaches a thread the bridge attached; each
// thread counts its own, so a thread ending its callbacks never waits for
// another's.
thread_local int callbackDepth = 0;

void describeException(JNIEnv* env) {
  if (env->ExceptionCheck()) {
    // Prints the exception and clears it: nothing thrown in Java may unwind
    // into the library.
    env->ExceptionDescribe();
    env->ExceptionClear();
  }
}

// Ends one call that obtained an environment: the outermost of this thread
// detaches the thread if the bridge attached it.
void leaveNativeCallback() {
  if (callbackDepth > 0) --callbackDepth;
  if (callbackDepth == 0 && shouldDetach && javaVm->DetachCurrentThread() == JNI_OK) {
    shouldDetach = false;
  }
}

// One bridge call: the environment it obtained, given back on every path,
// and the registration it calls, the same for the whole call.
class CallbackScope : public utils::NonAssignable {
 public:
  CallbackScope() : env_(nullptr), registration_(nullptr), pendingBefore_(false) {
    bridgesRunning.fetch_add(1);
    JNIEnv* env = nullptr;
    if (getJniEnvironment(&env) != 0) return;
    env_ = env;
    // An exception a native method's own JNI call left pending belongs to
    // its Java caller: no Java method may run under it, and it is not ours
    // to print.
    pendingBefore_ = env_->ExceptionCheck() == JNI_TRUE;
    registration_ = currentRegistration.load();
  }
  ~CallbackScope() {
    if (env_) {
      if (!pendingBefore_) describeException(env_);
      leaveNativeCallback();
    }
    bridgesRunning.fetch_sub(1);
  }
  CallbackScope(const CallbackScope&) = delete;

  // Usable when an environment was obtained and the method was found.
  bool ready(CallbackId method) const {
    return env_ != nullptr && !pendingBefore_ && registration_ != nullptr &&
           registration_->object != nullptr && registration_->*method != nullptr;
  }
  JNIEnv* env() const { return env_; }
  jobject object() const { return registration_->object; }
  jmethodID method(CallbackId method) const { return registration_->*method; }
  // A Java exception makes the answer the one a failed call gives.
  bool threw() const { return env_->ExceptionCheck() == JNI_TRUE; }

 private:
  JNIEnv* env_;
  const CallbackRegistration* registration_;
  bool pendingBefore_;
};

jbyteArray newTextArray(JNIEnv* env, const char* text) {
  if (!text) text = "";
  const std::size_t length = std::strlen(text);
  if (length > static_cast<std::size_t>(INT_MAX)) return nullptr;
  jbyteArray array = env->NewByteArray(static_cast<jsize>(length));
  if (array) setByteArray(env, array, text);
  return array;
}

// A bridge that throws would unwind into the library's callback store and the
// call that raised it: each answers as a failed callback instead.
void textCallback(const char* bridge, CallbackId method, const char* text) {
  utils::guardExportVoid(bridge, [&] {
    CallbackScope scope;
    if (!scope.ready(method)) return;
    JNIEnv* env = scope.env();
    LocalRef<jbyteArray> bytes(env, newTextArray(env, text));
    if (!bytes) return;
    env->CallVoidMethod(scope.object(), scope.method(method), bytes.get());
  });
}

bool questionCallback(const char* bridge, CallbackId method, const char* text) {
  return utils::guardExport(bridge, false, [&] {
    CallbackScope scope;
    if (!scope.ready(method)) return false;
    JNIEnv* env = scope.env();
    LocalRef<jbyteArray> bytes(env, newTextArray(env, text));
    if (!bytes) return false;
    const jboolean answer =
        env->CallBooleanMethod(scope.object(), scope.method(method), bytes.get());
    return !scope.threw() && answer != JNI_FALSE;
  });
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
void valueCallback(const char* bridge, CallbackId method, const char* prompt,
                   cb_UserProvidedData* data) {
  utils::guardExportVoid(bridge, [&] {
    CallbackScope scope;
    if (!scope.ready(method) || !data) return;
    JNIEnv* env = scope.env();
    LocalRef<jbyteArray> bytes(env, newTextArray(env, prompt));
    if (!bytes) return;
    const jint minLength = data->minLength > INT_MAX ? INT_MAX : static_cast<jint>(data->minLength);
    const jint maxLength = data->maxLength > INT_MAX ? INT_MAX : static_cast<jint>(data->maxLength);
    LocalRef<jstring> answer(
        env, static_cast<jstring>(env->CallObjectMethod(scope.object(), scope.method(method),
                                                        bytes.get(), minLength, maxLength)));
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
  });
}

void native_HandleDevLog(const char* line) {
  textCallback(__func__, &CallbackRegistration::idHandleDevLog, line);
}
void native_HandleCommLog(const char* line) {
  textCallback(__func__, &CallbackRegistration::idHandleCommLog, line);
}
void native_HandleBusLog(const char* line) {
  textCallback(__func__, &CallbackRegistration::idHandleBusLog, line);
}
void native_ShowPromptScreen(const char* prompt) {
  textCallback(__func__, &CallbackRegistration::idShowPromptScreen, prompt);
}
void native_ShowOkScreen(const char* prompt) {
  textCallback(__func__, &CallbackRegistration::idShowOkScreen, prompt);
}
bool native_SignatureRequest(const char* prompt) {
  return questionCallback(__func__, &CallbackRegistration::idSignatureRequest, prompt);
}
bool native_CopyRequest(const char* prompt) {
  return questionCallback(__func__, &CallbackRegistration::idCopyRequest, prompt);
}
bool native_WaitForCard(const char* prompt) {
  return questionCallback(__func__, &CallbackRegistration::idWaitForCard, prompt);
}
bool native_WaitForPin(const char* prompt) {
  return questionCallback(__func__, &CallbackRegistration::idWaitForPin, prompt);
}
void native_WaitForCardRemoval(const char* prompt) {
  textCallback(__func__, &CallbackRegistration::idWaitForCardRemoval, prompt);
}
bool native_ShowYesNoScreen(const char* prompt) {
  return questionCallback(__func__, &CallbackRegistration::idShowYesNoScreen, prompt);
}

void native_HandleStatusChange(ecr_terminalStatus status) {
  utils::guardExportVoid(__func__, [&] {
    CallbackScope scope;
    if (!scope.ready(&CallbackRegistration::idHandleStatusChange)) return;
    scope.env()->CallVoidMethod(scope.object(),
                                scope.method(&CallbackRegistration::idHandleStatusChange),
                                static_cast<jint>(status));
  });
}

bool native_CurrencyRequest(const char** labels, size_t count, unsigned* selected) {
  return utils::guardExport(__func__, false, [&] {
    CallbackScope scope;
    const CallbackId method = &CallbackRegistration::idCurrencyRequest;
    if (!scope.ready(method) || count > static_cast<size_t>(INT_MAX)) return false;
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
    jint answer = env->CallIntMethod(scope.object(), scope.method(method), list.get());
    if (scope.threw()) answer = 0;
    return storeChoice(answer, selected);
  });
}

bool native_SelectionRequest(const char** options, size_t count, unsigned* selected,
                             const char* title) {
  return utils::guardExport(__func__, false, [&] {
    CallbackScope scope;
    const CallbackId method = &CallbackRegistration::idSelectionRequest;
    if (!scope.ready(method) || count > static_cast<size_t>(INT_MAX)) return false;
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
        env->CallIntMethod(scope.object(), scope.method(method), list.get(), titleBytes.get());
    if (scope.threw()) answer = 0;
    return storeChoice(answer, selected);
  });
}

void native_GetCashbackAmount(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(__func__, &CallbackRegistration::idGetCashbackAmount, prompt, data);
}
void native_GetAuthorizationCode(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(__func__, &CallbackRegistration::idGetAuthorizationCode, prompt, data);
}
void native_GetAmount(const char* prompt, cb_UserProvidedData* data) {
  valueCallback(__func__, &CallbackRegistration::idGetAmount, prompt, data);
}
void native_GetUserData(const char* prompt, cb_UserProvidedData* data, bool (*isAllowed)(char)) {
  // NativeInputValidator asks this checker while the Java side collects the
  // answer, and after it until the next user-data prompt.
  setCharacterChecker(isAllowed);
  valueCallback(__func__, &CallbackRegistration::idGetUserData, prompt, data);
}

struct CallbackMethod {
  const char* name;
  const char* signature;
  CallbackId id;
  void (*install)(bool on);  // installs the bridge, or clears the callback
};

const CallbackMethod kCallbackMethods[] = {
    {"cb_DevLog", "([B)V", &CallbackRegistration::idHandleDevLog,
     [](bool on) { cb_setHandleDevLog(on ? native_HandleDevLog : nullptr); }},
    {"cb_CommLog", "([B)V", &CallbackRegistration::idHandleCommLog,
     [](bool on) { cb_setHandleCommLog(on ? native_HandleCommLog : nullptr); }},
    {"cb_BusLog", "([B)V", &CallbackRegistration::idHandleBusLog,
     [](bool on) { cb_setHandleBusLog(on ? native_HandleBusLog : nullptr); }},
    {"cb_ShowPromptScreen", "([B)V", &CallbackRegistration::idShowPromptScreen,
     [](bool on) { cb_setShowPromptScreen(on ? native_ShowPromptScreen : nullptr); }},
    {"cb_ShowOkScreen", "([B)V", &CallbackRegistration::idShowOkScreen,
     [](bool on) { cb_setShowOkScreen(on ? native_ShowOkScreen : nullptr); }},
    {"cb_SignatureRequest", "([B)Z", &CallbackRegistration::idSignatureRequest,
     [](bool on) { cb_setSignatureRequest(on ? native_SignatureRequest : nullptr); }},
    {"cb_CopyRequest", "([B)Z", &CallbackRegistration::idCopyRequest,
     [](bool on) { cb_setCopyRequest(on ? native_CopyRequest : nullptr); }},
    {"cb_WaitForCard", "([B)Z", &CallbackRegistration::idWaitForCard,
     [](bool on) { cb_setWaitForCard(on ? native_WaitForCard : nullptr); }},
    {"cb_WaitForPin", "([B)Z", &CallbackRegistration::idWaitForPin,
     [](bool on) { cb_setWaitForPin(on ? native_WaitForPin : nullptr); }},
    {"cb_WaitForCardRemoval", "([B)V", &CallbackRegistration::idWaitForCardRemoval,
     [](bool on) { cb_setWaitForCardRemoval(on ? native_WaitForCardRemoval : nullptr); }},
    {"cb_StatusChange", "(I)V", &CallbackRegistration::idHandleStatusChange,
     [](bool on) { cb_setHandleStatusChange(on ? native_HandleStatusChange : nullptr); }},
    {"cb_AskForCurrency", "([Ljava/lang/String;)I", &CallbackRegistration::idCurrencyRequest,
     [](bool on) { cb_setCurrencyRequest(on ? native_CurrencyRequest : nullptr); }},
    {"cb_AskForSelection", "([[B[B)I", &CallbackRegistration::idSelectionRequest,
     [](bool on) { cb_setSelectRequest(on ? native_SelectionRequest : nullptr); }},
    {"cb_ShowYesNoScreen", "([B)Z", &CallbackRegistration::idShowYesNoScreen,
     [](bool on) { cb_setShowYesNoScreen(on ? native_ShowYesNoScreen : nullptr); }},
    {"cb_GetCashbackAmount", "([BII)Ljava/lang/String;", &CallbackRegistration::idGetCashbackAmount,
     [](bool on) { cb_setGetCashbackAmount(on ? native_GetCashbackAmount : nullptr); }},
    {"cb_GetAuthorizationCode", "([BII)Ljava/lang/String;",
     &CallbackRegistration::idGetAuthorizationCode,
     [](bool on) { cb_setGetAuthorizationCode(on ? native_GetAuthorizationCode : nullptr); }},
    {"cb_GetUserData", "([BII)Ljava/lang/String;", &CallbackRegistration::idGetUserData,
     [](bool on) { cb_setGetUserData(on ? native_GetUserData : nullptr); }},
    {"cb_GetAmount", "([BII)Ljava/lang/String;", &CallbackRegistration::idGetAmount,
     [](bool on) { cb_setGetAmount(on ? native_GetAmount : nullptr); }},
};
constexpr std::size_t kCallbackMethodCount = sizeof kCallbackMethods / sizeof kCallbackMethods[0];

// How many rows an earlier registration installed; registrationMutex guards it.
std::size_t installedRows = 0;

// Publishes a registration and keeps the one it replaces until no bridge
// runs. Called with registrationMutex held.
void publish(JNIEnv* env, const CallbackRegistration* registration) {
  std::vector<const CallbackRegistration*>& replaced = replacedRegistrations();
  // Room first: nothing may throw once the record is published.
  replaced.reserve(replaced.size() + 1);
  javaCallbackObject = registration->object;
  const CallbackRegistration* earlier = currentRegistration.exchange(registration);
  if (earlier) replaced.push_back(earlier);
  // A bridge that starts from now on takes the new record; one that took a
  // replaced record is still counted. None counted: none holds one.
  if (bridgesRunning.load() != 0) return;
  for (const CallbackRegistration* old : replaced) {
    env->DeleteGlobalRef(old->object);
    delete old;
  }
  replaced.clear();
}

jint registerCallbackObject(JNIEnv* env, jobject self) {
  JavaVM* vm = nullptr;
  if (env->GetJavaVM(&vm) != JNI_OK) return -1;
  const std::lock_guard<std::mutex> lock(registrationMutex);
  // A process has one virtual machine: written by the first registration,
  // only read afterwards, also by bridges running on other threads.
  if (javaVm != vm) javaVm = vm;
  auto registration = std::make_unique<CallbackRegistration>();
  LocalRef<jclass> callbackClass(env, env->GetObjectClass(self));
  if (!callbackClass) return -1;
  registration->object = env->NewGlobalRef(self);
  if (!registration->object) return -1;
  std::size_t found = 0;
  while (found < kCallbackMethodCount) {
    const CallbackMethod& method = kCallbackMethods[found];
    jmethodID id = env->GetMethodID(callbackClass.get(), method.name, method.signature);
    if (!id) break;
    registration.get()->*method.id = id;
    ++found;
  }
  // A missing method leaves its id and the later ones null in the new
  // record; the NoSuchMethodError stays pending for the Java caller.
  publish(env, registration.release());
  for (std::size_t row = 0; row < found; ++row) kCallbackMethods[row].install(true);
  // What an earlier registration installed past the missing method is
  // cleared: those callbacks go back to the library's defaults.
  for (std::size_t row = found; row < installedRows; ++row) kCallbackMethods[row].install(false);
  installedRows = found;
  return found == kCallbackMethodCount ? 0 : -1;
}

}  // namespace

int getJniEnvironment(JNIEnv** env) {
  if (!env || !javaVm) return -1;
  void* found = nullptr;
  switch (javaVm->GetEnv(&found, JNI_VERSION_1_6)) {
    case JNI_OK:
      break;
    case JNI_EDETACHED:
      if (javaVm->AttachCurrentThread(&found, nullptr) != JNI_OK) return -1;
      shouldDetach = true;
      break;
    default:
      return -1;
  }
  *env = static_cast<JNIEnv*>(found);
  ++callbackDepth;
  return 0;
}

void finishNativeCallback(JNIEnv* env) {
  describeException(env);
  leaveNativeCallback();
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
  return guardJni(__func__, [&] { return registerCallbackObject(env, self); });
}
