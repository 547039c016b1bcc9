// Test-only native methods: they drive the library through its exported C
// functions so that its callbacks reach the Java side.
#include <jni.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "api/zumbra_ecr.h"
#include "core/zumbra_log.h"
#include "ScriptedPurchase.h"
#include "support/TerminalSimulator.h"

namespace {

// The scripted terminal the Java test talks to through the binding.
std::unique_ptr<zq::test::TerminalSimulator> terminal;
size_t scriptSteps = 0;
// Time the terminal's thread gets to count the step it last answered.
constexpr int kStepCountingMs = 5000;

std::string javaText(JNIEnv* env, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  if (!chars) return std::string();
  std::string copy(chars);
  env->ReleaseStringUTFChars(text, chars);
  return copy;
}

}  // namespace

extern "C" {

// Serves the script (the format of zq_terminal_simulator) on loopback and
// answers its port; -1 for a script that does not parse.
JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTestHooks_startTerminal(JNIEnv* env, jclass,
                                                                          jstring script) {
  std::istringstream in(javaText(env, script));
  std::vector<zq::test::PeerStep> steps;
  std::string error;
  terminal.reset();
  if (!zq::test::TerminalSimulator::parseScript(in, steps, error)) {
    std::fprintf(stderr, "script: %s\n", error.c_str());
    return -1;
  }
  scriptSteps = steps.size();
  terminal = std::make_unique<zq::test::TerminalSimulator>(std::move(steps));
  return terminal->port();
}

// Stops the terminal; answers what went wrong (mismatched requests, unused
// steps, requests beyond the script), one line each, or an empty text.
JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeTestHooks_stopTerminal(JNIEnv* env, jclass) {
  std::string report;
  if (terminal) {
    // A step counts as used once its reply is sent, and the library may act
    // on that reply before the terminal's thread has counted it: the steps
    // of the requests that arrived are waited for.
    const size_t answered = std::min(terminal->requests().size(), scriptSteps);
    terminal->waitForSteps(answered, kStepCountingMs);
    for (const std::string& mismatch : terminal->mismatches()) report += mismatch + "\n";
    if (terminal->stepsDone() < scriptSteps) {
      report += std::to_string(terminal->stepsDone()) + " of " + std::to_string(scriptSteps) +
                " steps used\n";
    }
    const size_t requests = terminal->requests().size();
    if (requests > scriptSteps) {
      report += std::to_string(requests - scriptSteps) + " request(s) beyond the script\n";
    }
    terminal.reset();
  }
  return env->NewStringUTF(report.c_str());
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeTestHooks_startLoggers(JNIEnv*, jclass) {
  ecr_getVersion();
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeTestHooks_devLog(JNIEnv* env, jclass,
                                                                   jbyteArray text,
                                                                   jboolean foreignThread) {
  const jsize length = env->GetArrayLength(text);
  std::string line(static_cast<size_t>(length), '\0');
  env->GetByteArrayRegion(text, 0, length, reinterpret_cast<jbyte*>(&line[0]));
  if (foreignThread) {
    std::thread([&line] { logDevInfo("%s", line.c_str()); }).join();
  } else {
    logDevInfo("%s", line.c_str());
  }
}

// One card purchase against the scripted terminal on loopback; answers the
// start's status.
JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTestHooks_runPurchase(JNIEnv*, jclass) {
  return zq::test::runScriptedPurchase();
}

}  // extern "C"
