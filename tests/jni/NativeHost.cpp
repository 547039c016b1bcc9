// A host of both kinds in one process: it starts a Java virtual machine
// itself, registers a Java callback object through the binding, and then
// drives terminal contexts from native threads of its own, whose callbacks
// the bridge carries into Java. The virtual machine must end by itself:
// DestroyJavaVM waits for every thread still attached, so a thread the
// bridge left attached would hang it, and a watchdog turns that into a
// failure.
//
// usage: zq_jni_native_host <class path> <library path> threads <count>
//        zq_jni_native_host <class path> <library path> allocation-failure
#include <jni.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedPurchase.h"
#include "core/zumbra_log.h"

// ---- Allocations that fail on demand ----
//
// The host replaces the global allocation functions, and with them those the
// library uses: armed on a thread, the next allocation made on that thread
// throws std::bad_alloc, as it would when memory runs out there.

namespace {
thread_local bool failNextAllocation = false;

void* allocate(std::size_t size) {
  if (failNextAllocation) {
    failNextAllocation = false;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
  if (!ok) {
    ++failures;
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  }
}

// Ends the process when the virtual machine does not end in time: a thread
// left attached keeps DestroyJavaVM waiting for ever.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "FAILED: the virtual machine did not end: a thread is still attached\n");
            std::fflush(stderr);
            std::_Exit(2);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    cv_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

constexpr const char* kRecorder = "zumbra/terminal/ThreadRecordingCallbacks";

// The host's view of the Java side: the recorder's class and static methods.
// Every call is followed by an exception check, as JNI requires; a Java
// exception is a failure of the host's own calls.
struct JavaSide {
  JNIEnv* env;
  jclass recorder;

  void noException(const std::string& when) const {
    if (env->ExceptionCheck()) {
      env->ExceptionDescribe();
      check(false, "Java exception " + when);
    }
  }
  jint staticInt(const char* name) const {
    jmethodID method = env->GetStaticMethodID(recorder, name, "()I");
    noException(name);
    const jint n = method ? env->CallStaticIntMethod(recorder, method) : -1;
    noException(name);
    return n;
  }
  jint busLinesWith(const char* text) const {
    jmethodID method = env->GetStaticMethodID(recorder, "busLinesWith", "(Ljava/lang/String;)I");
    noException("busLinesWith");
    jstring value = env->NewStringUTF(text);
    noException("busLinesWith");
    const jint n = method && value ? env->CallStaticIntMethod(recorder, method, value) : -1;
    noException("busLinesWith");
    env->DeleteLocalRef(value);
    return n;
  }
  jobject newRecorder() const {
    jmethodID constructor = env->GetMethodID(recorder, "<init>", "()V");
    noException("constructing a recorder");
    jobject object = constructor ? env->NewObject(recorder, constructor) : nullptr;
    noException("constructing a recorder");
    return object;
  }
  // register's answer; the host's calls leave no exception pending.
  jint registerObject(jobject object) const {
    jclass callbacks = env->FindClass("zumbra/terminal/NativeEcrCallbacks");
    noException("register");
    jmethodID method = callbacks ? env->GetMethodID(callbacks, "register", "()I") : nullptr;
    noException("register");
    const jint answer = method ? env->CallIntMethod(object, method) : -2;
    noException("register");
    env->DeleteLocalRef(callbacks);
    return answer;
  }
  bool lastReceiverIs(jobject object) const {
    jmethodID method = env->GetStaticMethodID(recorder, "lastReceiver", "()Ljava/lang/Object;");
    noException("lastReceiver");
    jobject last = method ? env->CallStaticObjectMethod(recorder, method) : nullptr;
    noException("lastReceiver");
    const bool same = last && env->IsSameObject(last, object);
    env->DeleteLocalRef(last);
    return same;
  }
};

// Purchases on `count` native threads at once, each on its own context
// against its own simulated terminal.
void purchasesOnNativeThreads(const JavaSide& java, int count) {
  std::vector<int> answers(static_cast<std::size_t>(count), -1);
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) {
    threads.emplace_back([&answers, i] { answers[static_cast<std::size_t>(i)] = zq::test::runScriptedPurchase(); });
  }
  for (std::thread& t : threads) t.join();
  for (int i = 0; i < count; ++i) {
    check(answers[static_cast<std::size_t>(i)] == ECR_OK,
          "purchase of thread " + std::to_string(i) + " answered " +
              std::to_string(answers[static_cast<std::size_t>(i)]));
  }
  check(java.staticInt("cardPrompts") == count,
        "card prompts: " + std::to_string(java.staticInt("cardPrompts")));
  check(java.staticInt("threadsSeen") >= count,
        "threads the callbacks arrived on: " + std::to_string(java.staticInt("threadsSeen")));
  const jint alive = java.staticInt("threadsAlive");
  check(alive == 0, std::to_string(alive) + " thread(s) left attached after the native threads ended");
}

// An allocation that fails inside a native method: the method answers as a
// failed call, the business log names it, and the binding works on.
void allocationFailures(const JavaSide& java, jobject registered) {
  JNIEnv* env = java.env;
  // Starts the loggers, as a host's first terminal call does: the log lines
  // below reach the callbacks only then.
  ecr_getVersion();
  jclass terminal = env->FindClass("zumbra/terminal/NativeEcrPaymentTerminal");
  java.noException("finding the terminal class");
  jmethodID setupDictionary =
      terminal ? env->GetStaticMethodID(terminal, "setupDictionary", "([I[[B)I") : nullptr;
  java.noException("finding setupDictionary");
  check(setupDictionary != nullptr, "setupDictionary found");
  if (!setupDictionary) return;

  // One phrase: id 0, "OK".
  const jint id = 0;
  jintArray ids = env->NewIntArray(1);
  java.noException("building the ids");
  env->SetIntArrayRegion(ids, 0, 1, &id);
  jclass bytesClass = env->FindClass("[B");
  java.noException("building the texts");
  jbyteArray phrase = env->NewByteArray(3);
  java.noException("building the texts");
  const jbyte text[] = {'O', 'K', 0};
  env->SetByteArrayRegion(phrase, 0, 3, text);
  jobjectArray texts = env->NewObjectArray(1, bytesClass, phrase);
  java.noException("building the texts");

  struct Row {
    const char* what;
    bool armed;
    jint expected;
  };
  const Row rows[] = {
      {"setupDictionary", false, 0},
      {"setupDictionary under a failed allocation", true, -1},
      {"setupDictionary after it", false, 0},
  };
  for (const Row& row : rows) {
    failNextAllocation = row.armed;
    const jint answer = env->CallStaticIntMethod(terminal, setupDictionary, ids, texts);
    failNextAllocation = false;
    java.noException(row.what);
    check(answer == row.expected, std::string(row.what) + " answered " + std::to_string(answer));
  }
  check(java.busLinesWith("setupDictionary failed: std::bad_alloc") == 1,
        "the failed setupDictionary is named in the business log");

  // A register that cannot allocate its record keeps the earlier one.
  jobject other = java.newRecorder();
  failNextAllocation = true;
  const jint answer = java.registerObject(other);
  failNextAllocation = false;
  check(answer == -1, "register under a failed allocation answered " + std::to_string(answer));
  check(java.busLinesWith("register failed: std::bad_alloc") == 1,
        "the failed register is named in the business log");
  logDevInfo("after the failed register");
  check(java.lastReceiverIs(registered), "callbacks still reach the object registered before");
  check(java.registerObject(other) == 0, "register after it");
  logDevInfo("after the second register");
  check(java.lastReceiverIs(other), "callbacks reach the object registered last");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <class path> <library path> threads <count> | allocation-failure\n",
                 argv[0]);
    return 2;
  }
  std::string classPath = std::string("-Djava.class.path=") + argv[1];
  std::string libraryPath = std::string("-Djava.library.path=") + argv[2];
  const std::string mode = argv[3];
  JavaVMOption options[] = {{&classPath[0], nullptr}, {&libraryPath[0], nullptr},
                            {const_cast<char*>("-Xcheck:jni"), nullptr}};
  JavaVMInitArgs initArgs{};
  initArgs.version = JNI_VERSION_1_8;
  initArgs.nOptions = sizeof options / sizeof options[0];
  initArgs.options = options;
  initArgs.ignoreUnrecognized = JNI_FALSE;
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  if (JNI_CreateJavaVM(&vm, reinterpret_cast<void**>(&env), &initArgs) != JNI_OK) {
    std::fprintf(stderr, "FAILED: no virtual machine\n");
    return 1;
  }

  JavaSide java{env, env->FindClass(kRecorder)};
  java.noException("finding the recorder");
  jobject callbacks = java.recorder ? java.newRecorder() : nullptr;
  check(callbacks != nullptr && java.registerObject(callbacks) == 0, "register");
  java.noException("registering");

  if (failures == 0) {
    if (mode == "threads" && argc > 4) {
      purchasesOnNativeThreads(java, std::atoi(argv[4]));
    } else if (mode == "allocation-failure") {
      allocationFailures(java, callbacks);
    } else {
      check(false, "unknown mode " + mode);
    }
  }

  {
    const Watchdog watchdog(std::chrono::seconds(30));
    check(vm->DestroyJavaVM() == JNI_OK, "DestroyJavaVM");
  }
  if (failures > 0) {
    std::fprintf(stderr, "%d check(s) failed\n", failures);
    return 1;
  }
  std::printf("all checks passed\n");
  return 0;
}
