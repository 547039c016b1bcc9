// Test-only native methods: they drive the library through its exported C
// functions so that its callbacks reach the Java side.
#include <jni.h>

#include <string>
#include <thread>

#include "api/zumbra_ecr.h"
#include "core/zumbra_log.h"
#include "support/PurchaseScript.h"
#include "support/TerminalSimulator.h"

extern "C" {

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

// One card purchase against the scripted terminal on loopback, through the
// exported terminal functions only: the library raises its prompt and
// question callbacks as a real terminal makes it. Answers the start's status.
JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTestHooks_runPurchase(JNIEnv*, jclass) {
  zq::test::PurchaseDetails sale;
  zq::test::TerminalSimulator terminal(zq::test::purchaseScript(sale));
  EcrCtx_s* ctx = nullptr;
  if (ecr_initialize(&ctx) != ECR_OK) return -100;
  ecr_setProtocol(ctx, 0);
  ecr_status status = ecr_setTcpIpLink(ctx, "127.0.0.1", terminal.port(), 300);
  if (status == ECR_OK) status = ecr_setCashRegisterId(ctx, "1", 1);
  if (status == ECR_OK) status = ecr_setTransactionType(ctx, ECR_TRANSACTION_PURCHASE);
  if (status == ECR_OK) status = ecr_setTransactionAmount(ctx, sale.amount.c_str());
  jint answer = status == ECR_OK ? static_cast<jint>(ecr_startTransaction(ctx)) : -100;
  ecr_cleanup(&ctx);
  return answer;
}

}  // extern "C"
