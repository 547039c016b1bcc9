// jni_dll_host: zumbrajni.dll as a Java host on Windows uses it, without a
// virtual machine. The program loads the DLL with LoadLibrary, finds the
// Java entry points it calls with GetProcAddress, and drives a purchase and
// both copies of its receipt through them, as examples/java's EcrPurchase
// does; the JNIEnv it hands them is this file's own, whose function table
// holds only the functions the binding calls (any other aborts the program,
// naming its slot). FreeLibrary ends the run.
//
//   jni_dll_host <zumbrajni.dll> tcp <address> <port>
//   jni_dll_host <zumbrajni.dll> serial <port> <data mode> <baud rate>
//   jni_dll_host <zumbrajni.dll> silent <port> <data mode> <baud rate> <time-out ms>
//
// tcp and serial expect the purchase accepted and a receipt of some lines
// in each copy; <data mode> and <baud rate> are the numbers setSerialLink
// takes (0 and 5: 8N1 at 115200). silent expects a serial terminal that
// never answers: the purchase fails with a communication error, not before
// the time-out has passed and well before the line goes away, and the
// communication log says "COM read timeout". Exit status 0 when the run
// went as expected, 1 otherwise.
#include <fcntl.h>
#include <io.h>
#include <jni.h>
#include <windows.h>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr jint kLinkTimeoutMs = 30000;
// The most a purchase may take against a silent terminal: far more than its
// time-out and the library's tries take on a busy machine, far less than the
// simulated terminal stays on the line (60 s), so a time-out that never
// fires is not hidden by the line going away, which ends a read with the
// same error.
constexpr DWORD kLongestSilentWaitMs = 20000;
constexpr jint kEcrOk = 0;
constexpr jint kEcrCommError = 3;
constexpr jint kTransactionAccepted = 0;
constexpr jint kFontSmall = 1;
constexpr jint kFontBig = 2;
constexpr jint kLinePicture = 2;
constexpr jint kPictureHeaderLogo = 3;

// ---- The objects of the virtual machine this program plays ----

struct HostMethod {
  std::string name;
  std::string signature;
};

struct HostObject {
  enum class Kind { Class, String, ByteArray, ObjectArray, PrintoutLine, Callbacks };
  Kind kind;
  std::string text;                // a class's name, a String's modified UTF-8
  std::vector<jbyte> bytes;        // byte[]
  std::vector<HostObject*> items;  // Object[]; a print line's text is items[0]
  std::array<jint, 6> numbers{};   // a print line's id, font size, negative, line type, picture type, bold
};

// Everything the binding was given lives until the end of the run: the run
// is short, and a reference it kept past its use is then harmless.
std::deque<HostObject> objects;
std::deque<HostMethod> methods;
std::string pendingException;
std::vector<std::string> commLog;

HostObject* newObject(HostObject::Kind kind) {
  objects.push_back(HostObject{kind, {}, {}, {}, {}});
  return &objects.back();
}

HostObject* as(jobject object) { return reinterpret_cast<HostObject*>(object); }
template <typename T>
T ref(HostObject* object) {
  return reinterpret_cast<T>(object);
}

HostObject* newClass(const char* name) {
  HostObject* object = newObject(HostObject::Kind::Class);
  object->text = name;
  return object;
}

HostObject* const terminalClass = newClass("zumbra/terminal/NativeEcrPaymentTerminal");
HostObject* const callbacksClass = newClass("zumbra/terminal/NativeEcrCallbacks");
HostObject* const printoutLineClass = newClass("zumbra/api/EcrPrintoutLine");
HostObject* const stringClass = newClass("java/lang/String");
HostObject* const bytesClass = newClass("[B");

HostObject* newBytes(const char* data, std::size_t length) {
  HostObject* array = newObject(HostObject::Kind::ByteArray);
  array->bytes.assign(data, data + length);
  // GetByteArrayElements of an empty array still needs an address.
  array->bytes.reserve(1);
  return array;
}

std::string textOf(const HostObject* bytes) {
  if (!bytes) return "";
  std::string text(bytes->bytes.begin(), bytes->bytes.end());
  return text.substr(0, text.find('\0'));
}

// Texts for people come from the library as Windows-1250; the console shows UTF-8.
std::string utf8(const std::string& windows1250) {
  if (windows1250.empty()) return windows1250;
  const int length = static_cast<int>(windows1250.size());
  std::wstring wide(windows1250.size(), L'\0');
  const int wideLength = MultiByteToWideChar(1250, 0, windows1250.data(), length, &wide[0], length);
  std::string out(4 * windows1250.size(), '\0');
  const int outLength = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &out[0],
                                            static_cast<int>(out.size()), nullptr, nullptr);
  if (wideLength <= 0 || outLength <= 0) return windows1250;
  out.resize(static_cast<std::size_t>(outLength));
  return out;
}

// ---- The callback object: what the terminal asks the host ----

struct CallbackMethod {
  const char* name;
  const char* signature;
};

// The methods of a NativeEcrCallbacks subclass that register looks up.
const CallbackMethod kCallbackMethods[] = {
    {"cb_DevLog", "([B)V"},
    {"cb_CommLog", "([B)V"},
    {"cb_BusLog", "([B)V"},
    {"cb_ShowPromptScreen", "([B)V"},
    {"cb_ShowOkScreen", "([B)V"},
    {"cb_SignatureRequest", "([B)Z"},
    {"cb_CopyRequest", "([B)Z"},
    {"cb_WaitForCard", "([B)Z"},
    {"cb_WaitForPin", "([B)Z"},
    {"cb_WaitForCardRemoval", "([B)V"},
    {"cb_StatusChange", "(I)V"},
    {"cb_AskForCurrency", "([Ljava/lang/String;)I"},
    {"cb_AskForSelection", "([[B[B)I"},
    {"cb_ShowYesNoScreen", "([B)Z"},
    {"cb_GetCashbackAmount", "([BII)Ljava/lang/String;"},
    {"cb_GetAuthorizationCode", "([BII)Ljava/lang/String;"},
    {"cb_GetUserData", "([BII)Ljava/lang/String;"},
    {"cb_GetAmount", "([BII)Ljava/lang/String;"},
};

bool is(jmethodID method, const char* name) {
  return reinterpret_cast<const HostMethod*>(method)->name == name;
}

// A text callback's one argument, the byte[] of its text.
std::string textArgument(va_list args) { return textOf(as(va_arg(args, jobject))); }

void JNICALL callVoid(JNIEnv*, jobject, jmethodID method, va_list args) {
  if (is(method, "cb_StatusChange")) {
    std::printf("  terminal status: %d\n", static_cast<int>(va_arg(args, jint)));
  } else if (is(method, "cb_CommLog")) {
    commLog.push_back(textArgument(args));
  } else if (is(method, "cb_ShowPromptScreen") || is(method, "cb_ShowOkScreen")) {
    std::printf("  terminal shows: %s\n", utf8(textArgument(args)).c_str());
  } else if (is(method, "cb_WaitForCardRemoval")) {
    std::printf("  terminal waits for the card to be removed: %s\n", utf8(textArgument(args)).c_str());
  }
  // The developer and business logs go to the library's own log files.
}

jboolean JNICALL callBoolean(JNIEnv*, jobject, jmethodID method, va_list args) {
  const std::string prompt = utf8(textArgument(args));
  const bool copy = is(method, "cb_CopyRequest");
  std::printf("  terminal asks (%s): %s -> %s\n", reinterpret_cast<const HostMethod*>(method)->name.c_str(),
              prompt.c_str(), copy ? "no" : "yes");
  return copy ? JNI_FALSE : JNI_TRUE;
}

jint JNICALL callInt(JNIEnv*, jobject, jmethodID, va_list args) {
  // A choice is answered with the first entry of the list (counted from 1).
  const HostObject* list = as(va_arg(args, jobject));
  return list && !list->items.empty() ? 1 : -1;
}

jobject JNICALL callObject(JNIEnv*, jobject, jmethodID, va_list) {
  // This host enters no data: a null answer leaves the library's own.
  return nullptr;
}

// ---- The JNI functions the binding calls ----

void fail(const char* what) { pendingException = what; }

jclass JNICALL findClass(JNIEnv*, const char* name) {
  for (HostObject* known : {printoutLineClass, stringClass, bytesClass}) {
    if (known->text == name) return ref<jclass>(known);
  }
  fail("java.lang.NoClassDefFoundError");
  return nullptr;
}

jmethodID JNICALL getMethodId(JNIEnv*, jclass cls, const char* name, const char* signature) {
  bool found = false;
  if (as(cls) == printoutLineClass) {
    found = std::strcmp(name, "<init>") == 0 && std::strcmp(signature, "(I[BIIIII)V") == 0;
  } else if (as(cls) == callbacksClass) {
    for (const CallbackMethod& method : kCallbackMethods) {
      found = found || (std::strcmp(name, method.name) == 0 && std::strcmp(signature, method.signature) == 0);
    }
  }
  if (!found) {
    std::printf("the binding looked for %s %s, which its classes do not have\n", name, signature);
    fail("java.lang.NoSuchMethodError");
    return nullptr;
  }
  methods.push_back(HostMethod{name, signature});
  return reinterpret_cast<jmethodID>(&methods.back());
}

jobject JNICALL newPrintoutLine(JNIEnv*, jclass, jmethodID, va_list args) {
  HostObject* line = newObject(HostObject::Kind::PrintoutLine);
  line->numbers[0] = va_arg(args, jint);
  line->items.push_back(as(va_arg(args, jobject)));
  for (std::size_t i = 1; i < line->numbers.size(); ++i) line->numbers[i] = va_arg(args, jint);
  return ref<jobject>(line);
}

void JNICALL deleteRef(JNIEnv*, jobject) {}
jobject JNICALL newGlobalRef(JNIEnv*, jobject object) { return object; }
jboolean JNICALL exceptionCheck(JNIEnv*) { return pendingException.empty() ? JNI_FALSE : JNI_TRUE; }
void JNICALL exceptionClear(JNIEnv*) { pendingException.clear(); }
void JNICALL exceptionDescribe(JNIEnv*) {
  if (!pendingException.empty()) std::printf("exception in a callback: %s\n", pendingException.c_str());
}

jsize JNICALL getArrayLength(JNIEnv*, jarray array) {
  const HostObject* object = as(array);
  return static_cast<jsize>(object->kind == HostObject::Kind::ByteArray ? object->bytes.size()
                                                                        : object->items.size());
}

void JNICALL getIntArrayRegion(JNIEnv*, jintArray, jsize, jsize, jint*) {
  // No int[] ever reaches the binding from this host.
  std::printf("the binding read an int[] this host never made\n");
  std::abort();
}

JavaVM* theVm();
jint JNICALL getJavaVm(JNIEnv*, JavaVM** vm) {
  *vm = theVm();
  return JNI_OK;
}

jobject JNICALL getObjectArrayElement(JNIEnv*, jobjectArray array, jsize index) {
  return ref<jobject>(as(array)->items.at(static_cast<std::size_t>(index)));
}

jclass JNICALL getObjectClass(JNIEnv*, jobject object) {
  return as(object)->kind == HostObject::Kind::Callbacks ? ref<jclass>(callbacksClass) : nullptr;
}

jbyteArray JNICALL newByteArray(JNIEnv*, jsize length) {
  HostObject* array = newBytes("", 0);
  array->bytes.resize(static_cast<std::size_t>(length));
  return ref<jbyteArray>(array);
}

jobjectArray JNICALL newObjectArray(JNIEnv*, jsize length, jclass, jobject initial) {
  HostObject* array = newObject(HostObject::Kind::ObjectArray);
  array->items.assign(static_cast<std::size_t>(length), as(initial));
  return ref<jobjectArray>(array);
}

jstring JNICALL newStringUtf(JNIEnv*, const char* text) {
  HostObject* string = newObject(HostObject::Kind::String);
  string->text = text;
  return ref<jstring>(string);
}

void JNICALL setByteArrayRegion(JNIEnv*, jbyteArray array, jsize start, jsize length, const jbyte* data) {
  std::vector<jbyte>& bytes = as(array)->bytes;
  if (start < 0 || length < 0 ||
      static_cast<std::size_t>(start) + static_cast<std::size_t>(length) > bytes.size()) {
    fail("java.lang.ArrayIndexOutOfBoundsException");
    return;
  }
  std::memcpy(bytes.data() + start, data, static_cast<std::size_t>(length));
}

void JNICALL setObjectArrayElement(JNIEnv*, jobjectArray array, jsize index, jobject value) {
  as(array)->items.at(static_cast<std::size_t>(index)) = as(value);
}

jbyte* JNICALL getByteArrayElements(JNIEnv*, jbyteArray array, jboolean* isCopy) {
  if (isCopy) *isCopy = JNI_FALSE;
  return as(array)->bytes.data();
}

void JNICALL releaseByteArrayElements(JNIEnv*, jbyteArray, jbyte*, jint) {}

const char* JNICALL getStringUtfChars(JNIEnv*, jstring string, jboolean* isCopy) {
  if (isCopy) *isCopy = JNI_FALSE;
  return as(string)->text.c_str();
}

void JNICALL releaseStringUtfChars(JNIEnv*, jstring, const char*) {}
jint JNICALL pushLocalFrame(JNIEnv*, jint) { return JNI_OK; }
jobject JNICALL popLocalFrame(JNIEnv*, jobject result) { return result; }

// Every other slot: the binding called a function this host does not
// provide, which a change of the binding must bring here first.
template <std::size_t Slot>
void JNICALL unexpected() {
  // Slots count as in the JNI function table, whose GetVersion is slot 4.
  std::printf("the binding called the JNI function in slot %u, which this host does not provide\n",
              static_cast<unsigned>(Slot));
  std::fflush(stdout);
  std::abort();
}

template <typename Table, std::size_t... Slot>
void fillWithUnexpected(Table& table, std::index_sequence<Slot...>) {
  using Function = void(JNICALL*)();
  const Function stubs[] = {&unexpected<Slot>...};
  static_assert(sizeof stubs == sizeof table, "one stub a slot");
  std::memcpy(&table, stubs, sizeof table);
}

template <typename Table>
void fillWithUnexpected(Table& table) {
  fillWithUnexpected(table, std::make_index_sequence<sizeof(Table) / sizeof(void*)>());
}

JNINativeInterface_ makeFunctionTable() {
  JNINativeInterface_ table;
  fillWithUnexpected(table);
  table.FindClass = findClass;
  table.GetMethodID = getMethodId;
  table.NewObjectV = newPrintoutLine;
  table.CallVoidMethodV = callVoid;
  table.CallBooleanMethodV = callBoolean;
  table.CallIntMethodV = callInt;
  table.CallObjectMethodV = callObject;
  table.DeleteLocalRef = deleteRef;
  table.DeleteGlobalRef = deleteRef;
  table.NewGlobalRef = newGlobalRef;
  table.ExceptionCheck = exceptionCheck;
  table.ExceptionClear = exceptionClear;
  table.ExceptionDescribe = exceptionDescribe;
  table.GetArrayLength = getArrayLength;
  table.GetIntArrayRegion = getIntArrayRegion;
  table.GetJavaVM = getJavaVm;
  table.GetObjectArrayElement = getObjectArrayElement;
  table.GetObjectClass = getObjectClass;
  table.NewByteArray = newByteArray;
  table.NewObjectArray = newObjectArray;
  table.NewStringUTF = newStringUtf;
  table.SetByteArrayRegion = setByteArrayRegion;
  table.SetObjectArrayElement = setObjectArrayElement;
  table.GetByteArrayElements = getByteArrayElements;
  table.ReleaseByteArrayElements = releaseByteArrayElements;
  table.GetStringUTFChars = getStringUtfChars;
  table.ReleaseStringUTFChars = releaseStringUtfChars;
  table.PushLocalFrame = pushLocalFrame;
  table.PopLocalFrame = popLocalFrame;
  return table;
}

const JNINativeInterface_ functionTable = makeFunctionTable();
JNIEnv env{&functionTable};

// The callbacks run on the thread that called into the library, which is
// this program's only one: it is always attached.
jint JNICALL getEnv(JavaVM*, void** found, jint) {
  *found = &env;
  return JNI_OK;
}
jint JNICALL attachCurrentThread(JavaVM*, void** found, void*) { return getEnv(nullptr, found, 0); }
jint JNICALL detachCurrentThread(JavaVM*) { return JNI_OK; }

JNIInvokeInterface_ makeInvokeTable() {
  JNIInvokeInterface_ table;
  fillWithUnexpected(table);
  table.GetEnv = getEnv;
  table.AttachCurrentThread = attachCurrentThread;
  table.DetachCurrentThread = detachCurrentThread;
  return table;
}

const JNIInvokeInterface_ invokeTable = makeInvokeTable();
JavaVM vm{&invokeTable};
JavaVM* theVm() { return &vm; }

jstring string(const char* text) { return newStringUtf(&env, text); }
std::string text(jobject string) { return string ? as(string)->text : std::string("(null)"); }

// ---- The entry points, as the virtual machine would bind them ----

struct Binding {
  jint(JNICALL* initialize)(JNIEnv*, jclass);
  void(JNICALL* cleanup)(JNIEnv*, jclass);
  void(JNICALL* setProtocol)(JNIEnv*, jclass, jint);
  jint(JNICALL* setTcpIpLink)(JNIEnv*, jclass, jstring, jint, jint);
  jint(JNICALL* setSerialLink)(JNIEnv*, jclass, jstring, jint, jint, jint);
  jint(JNICALL* closeConnection)(JNIEnv*, jclass);
  jstring(JNICALL* getLibVersion)(JNIEnv*, jclass);
  jint(JNICALL* setCashRegisterId)(JNIEnv*, jclass, jstring);
  jint(JNICALL* setTransactionType)(JNIEnv*, jclass, jint);
  jint(JNICALL* setTransactionTitle)(JNIEnv*, jclass, jstring);
  jint(JNICALL* setTransactionAmount)(JNIEnv*, jclass, jstring);
  jint(JNICALL* startTransaction)(JNIEnv*, jclass);
  jint(JNICALL* getLastReturnCode)(JNIEnv*, jclass);
  jint(JNICALL* readTransactionResult)(JNIEnv*, jclass);
  jstring(JNICALL* readTransactionAmount)(JNIEnv*, jclass);
  jstring(JNICALL* readTransactionCurrencyLabel)(JNIEnv*, jclass);
  jstring(JNICALL* readTransactionDate)(JNIEnv*, jclass);
  jstring(JNICALL* readTransactionTime)(JNIEnv*, jclass);
  jstring(JNICALL* readTerminalId)(JNIEnv*, jclass);
  jint(JNICALL* setTerminalIndex)(JNIEnv*, jclass, jint);
  jint(JNICALL* initializePrintout)(JNIEnv*, jclass);
  void(JNICALL* cleanupPrintout)(JNIEnv*, jclass);
  jint(JNICALL* setNormalLineLength)(JNIEnv*, jclass, jint);
  jint(JNICALL* setBigLineLength)(JNIEnv*, jclass, jint);
  jint(JNICALL* setSmallLineLength)(JNIEnv*, jclass, jint);
  jint(JNICALL* prepareTransactionPrintout)(JNIEnv*, jclass, jboolean);
  jint(JNICALL* getNumberOfLines)(JNIEnv*, jclass);
  jobject(JNICALL* getNextLine)(JNIEnv*, jclass);
  jint(JNICALL* registerCallbacks)(JNIEnv*, jobject);
};

class EntryPoints {
 public:
  explicit EntryPoints(HMODULE dll) : dll_(dll) {}
  template <typename F>
  void find(F& slot, const char* name) {
    FARPROC found = GetProcAddress(dll_, name);
    if (!found) missing_.push_back(name);
    slot = reinterpret_cast<F>(reinterpret_cast<void*>(found));
  }
  const std::vector<std::string>& missing() const { return missing_; }

 private:
  HMODULE dll_;
  std::vector<std::string> missing_;
};

#define ZQ_TERMINAL_ENTRY(method) \
  entries.find(binding.method, "Java_zumbra_terminal_NativeEcrPaymentTerminal_" #method)

bool findEntryPoints(HMODULE dll, Binding& binding) {
  EntryPoints entries(dll);
  ZQ_TERMINAL_ENTRY(initialize);
  ZQ_TERMINAL_ENTRY(cleanup);
  ZQ_TERMINAL_ENTRY(setProtocol);
  ZQ_TERMINAL_ENTRY(setTcpIpLink);
  ZQ_TERMINAL_ENTRY(setSerialLink);
  ZQ_TERMINAL_ENTRY(closeConnection);
  ZQ_TERMINAL_ENTRY(getLibVersion);
  ZQ_TERMINAL_ENTRY(setCashRegisterId);
  ZQ_TERMINAL_ENTRY(setTransactionType);
  ZQ_TERMINAL_ENTRY(setTransactionTitle);
  ZQ_TERMINAL_ENTRY(setTransactionAmount);
  ZQ_TERMINAL_ENTRY(startTransaction);
  ZQ_TERMINAL_ENTRY(getLastReturnCode);
  ZQ_TERMINAL_ENTRY(readTransactionResult);
  ZQ_TERMINAL_ENTRY(readTransactionAmount);
  ZQ_TERMINAL_ENTRY(readTransactionCurrencyLabel);
  ZQ_TERMINAL_ENTRY(readTransactionDate);
  ZQ_TERMINAL_ENTRY(readTransactionTime);
  ZQ_TERMINAL_ENTRY(readTerminalId);
  ZQ_TERMINAL_ENTRY(setTerminalIndex);
  ZQ_TERMINAL_ENTRY(initializePrintout);
  ZQ_TERMINAL_ENTRY(cleanupPrintout);
  ZQ_TERMINAL_ENTRY(setNormalLineLength);
  ZQ_TERMINAL_ENTRY(setBigLineLength);
  ZQ_TERMINAL_ENTRY(setSmallLineLength);
  ZQ_TERMINAL_ENTRY(prepareTransactionPrintout);
  ZQ_TERMINAL_ENTRY(getNumberOfLines);
  ZQ_TERMINAL_ENTRY(getNextLine);
  entries.find(binding.registerCallbacks, "Java_zumbra_terminal_NativeEcrCallbacks_register");
  for (const std::string& name : entries.missing())
    std::printf("zumbrajni.dll does not export %s\n", name.c_str());
  return entries.missing().empty();
}

// ---- The purchase ----

jclass terminal() { return ref<jclass>(terminalClass); }

// One copy of the receipt, line by line as a receipt printer would get it;
// its number of lines.
int printReceipt(const Binding& binding, bool customerCopy) {
  const jint status =
      binding.prepareTransactionPrintout(&env, terminal(), customerCopy ? JNI_TRUE : JNI_FALSE);
  std::printf("%s copy of the receipt (%d lines):\n", customerCopy ? "customer" : "merchant",
              static_cast<int>(binding.getNumberOfLines(&env, terminal())));
  if (status != kEcrOk) {
    std::printf("prepareTransactionPrintout answered %d\n", static_cast<int>(status));
    return 0;
  }
  int lines = 0;
  for (jobject object = binding.getNextLine(&env, terminal()); object;
       object = binding.getNextLine(&env, terminal())) {
    const HostObject* line = as(object);
    ++lines;
    if (line->numbers[3] == kLinePicture) {
      std::printf("  [%s logo]\n", line->numbers[4] == kPictureHeaderLogo ? "header" : "footer");
    } else {
      std::printf("  |%s|%s%s%s%s\n", utf8(textOf(line->items[0])).c_str(),
                  line->numbers[1] == kFontBig ? " big" : "", line->numbers[1] == kFontSmall ? " small" : "",
                  line->numbers[5] != 0 ? " bold" : "", line->numbers[2] != 0 ? " inverted" : "");
    }
  }
  return lines;
}

struct Run {
  enum class Mode { Tcp, Serial, Silent } mode;
  std::string port;  // the address for tcp
  jint tcpPort = 0;
  jint dataMode = 0;
  jint baudrate = 0;
  jint timeoutMs = kLinkTimeoutMs;
};

bool purchase(const Binding& binding, const Run& run) {
  std::printf("libzumbrajni %s\n", text(binding.getLibVersion(&env, terminal())).c_str());
  jint status = binding.initialize(&env, terminal());
  if (status != kEcrOk) {
    std::printf("initialize failed: %d\n", static_cast<int>(status));
    return false;
  }
  HostObject* host = newObject(HostObject::Kind::Callbacks);
  if (binding.registerCallbacks(&env, ref<jobject>(host)) != 0) {
    std::printf("register failed\n");
    return false;
  }
  binding.setProtocol(&env, terminal(), 0);
  if (run.mode == Run::Mode::Tcp) {
    std::printf("connecting to %s:%d\n", run.port.c_str(), static_cast<int>(run.tcpPort));
    status = binding.setTcpIpLink(&env, terminal(), string(run.port.c_str()), run.tcpPort, run.timeoutMs);
  } else {
    std::printf("opening %s, data mode %d, baud rate %d\n", run.port.c_str(), static_cast<int>(run.dataMode),
                static_cast<int>(run.baudrate));
    status = binding.setSerialLink(&env, terminal(), string(run.port.c_str()), run.dataMode, run.baudrate,
                                   run.timeoutMs);
  }
  if (status != kEcrOk && status != kEcrCommError) {
    std::printf("the link answered %d\n", static_cast<int>(status));
    return false;
  }

  binding.setCashRegisterId(&env, terminal(), string("1"));
  binding.setTransactionType(&env, terminal(), 0);  // purchase
  binding.setTransactionTitle(&env, terminal(), string(""));
  binding.setTransactionAmount(&env, terminal(), string("1250"));
  std::printf("purchase of 1250\n");
  const DWORD started = GetTickCount();
  status = binding.startTransaction(&env, terminal());
  const DWORD elapsed = GetTickCount() - started;
  std::printf("startTransaction: %d, last return code: %d\n", static_cast<int>(status),
              static_cast<int>(binding.getLastReturnCode(&env, terminal())));

  bool asExpected = false;
  if (run.mode == Run::Mode::Silent) {
    bool timedOut = false;
    for (const std::string& line : commLog)
      timedOut = timedOut || line.find("COM read timeout") != std::string::npos;
    std::printf("after %lu ms (time-out %d ms); the communication log %s \"COM read timeout\"\n",
                static_cast<unsigned long>(elapsed), static_cast<int>(run.timeoutMs),
                timedOut ? "says" : "does not say");
    asExpected = status == kEcrCommError && timedOut && elapsed >= static_cast<DWORD>(run.timeoutMs) &&
                 elapsed < kLongestSilentWaitMs;
  } else if (status == kEcrOk) {
    const jint result = binding.readTransactionResult(&env, terminal());
    std::printf("transaction result: %d, amount %s %s, %s %s, terminal %s\n", static_cast<int>(result),
                text(binding.readTransactionAmount(&env, terminal())).c_str(),
                text(binding.readTransactionCurrencyLabel(&env, terminal())).c_str(),
                text(binding.readTransactionDate(&env, terminal())).c_str(),
                text(binding.readTransactionTime(&env, terminal())).c_str(),
                text(binding.readTerminalId(&env, terminal())).c_str());
    binding.initializePrintout(&env, terminal());
    binding.setNormalLineLength(&env, terminal(), 40);
    binding.setBigLineLength(&env, terminal(), 20);
    binding.setSmallLineLength(&env, terminal(), 48);
    // The receipt's header asks the terminal for its general information,
    // which names the terminal by its index.
    binding.setTerminalIndex(&env, terminal(), 1);
    const int merchantLines = printReceipt(binding, false);
    const int customerLines = printReceipt(binding, true);
    binding.cleanupPrintout(&env, terminal());
    asExpected = result == kTransactionAccepted && merchantLines > 0 && customerLines > 0;
  }
  binding.closeConnection(&env, terminal());
  binding.cleanup(&env, terminal());
  return asExpected;
}

int usage() {
  std::printf(
      "usage: jni_dll_host <zumbrajni.dll> tcp <address> <port>\n"
      "       jni_dll_host <zumbrajni.dll> serial <port> <data mode> <baud rate>\n"
      "       jni_dll_host <zumbrajni.dll> silent <port> <data mode> <baud rate> <time-out ms>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Lines end in \n only, as on the Linux side of the log.
  _setmode(_fileno(stdout), _O_BINARY);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 5) return usage();
  Run run;
  const std::string mode = argv[2];
  run.port = argv[3];
  if (mode == "tcp" && argc == 5) {
    run.mode = Run::Mode::Tcp;
    run.tcpPort = std::atoi(argv[4]);
  } else if ((mode == "serial" && argc == 6) || (mode == "silent" && argc == 7)) {
    run.mode = mode == "serial" ? Run::Mode::Serial : Run::Mode::Silent;
    run.dataMode = std::atoi(argv[4]);
    run.baudrate = std::atoi(argv[5]);
    if (run.mode == Run::Mode::Silent) run.timeoutMs = std::atoi(argv[6]);
  } else {
    return usage();
  }

  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) {
    std::printf("LoadLibrary(%s) failed: error %lu\n", argv[1], static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  Binding binding{};
  bool asExpected = findEntryPoints(dll, binding) && purchase(binding, run);
  if (!FreeLibrary(dll)) {
    std::printf("FreeLibrary failed: error %lu\n", static_cast<unsigned long>(GetLastError()));
    asExpected = false;
  }
  std::printf("%s\n", asExpected ? "as expected" : "NOT as expected");
  return asExpected ? 0 : 1;
}
