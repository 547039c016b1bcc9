// The fake platform of the certmint library that the Java test loads, and the
// native methods of pl.vostrel.pellmar.tpm.FakePlatform that steer it.
#include <jni.h>

#include <sstream>
#include <string>

#include "CallLog.h"
#include "FakeCertMintPlatform.h"

namespace {

using zq::tpm::testing::CallLog;
using zq::tpm::testing::FakeCertMintPlatform;
using zq::tpm::testing::ObjectLedger;

// One Java call at a time, each with a platform of its own over this state.
CallLog log;
ObjectLedger ledger;
std::ostringstream console;

std::string utf(JNIEnv* env, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  std::string copy(chars ? chars : "");
  if (chars) env->ReleaseStringUTFChars(text, chars);
  return copy;
}

}  // namespace

namespace zq::tpm::certmint {

std::unique_ptr<CertMintPlatform> makeCertMintPlatform() {
  return std::make_unique<FakeCertMintPlatform>(log, ledger, console);
}

}  // namespace zq::tpm::certmint

extern "C" {

JNIEXPORT void JNICALL Java_pl_vostrel_pellmar_tpm_FakePlatform_reset(JNIEnv*, jclass) {
  log.clear();
  ledger = ObjectLedger();
  console.str("");
}

JNIEXPORT void JNICALL Java_pl_vostrel_pellmar_tpm_FakePlatform_failAt(JNIEnv* env, jclass, jstring call, jint code) {
  log.failAt(utf(env, call), code);
}

// Every call so far, one a line; modified UTF-8 and UTF-8 agree on the
// characters the fake logs.
JNIEXPORT jstring JNICALL Java_pl_vostrel_pellmar_tpm_FakePlatform_calls(JNIEnv* env, jclass) {
  std::string all;
  for (const std::string& call : log.calls()) all += call + "\n";
  return env->NewStringUTF(all.c_str());
}

JNIEXPORT jboolean JNICALL Java_pl_vostrel_pellmar_tpm_FakePlatform_everythingReleased(JNIEnv*, jclass) {
  return ledger.made.size() == ledger.released.size() ? JNI_TRUE : JNI_FALSE;
}

}  // extern "C"
