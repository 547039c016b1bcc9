// Native methods of zumbra.terminal.NativeEcrPaymentTerminal: the printouts,
// on the binding's one printout context and its one terminal context. Every
// method is one line of a family of PrintoutMethods.h, run under the guard of
// JniGuard.h; the header javac generated from the Java class declares each
// of them.
#include "jni/JniGuard.h"
#include "jni/PrintoutMethods.h"
#include "zumbra_terminal_NativeEcrPaymentTerminal.h"

using namespace zq::app::jni;

namespace {

// A report or the closing day, on both contexts held for the call.
jint report(const char* method, std::uint32_t (*build)(PrintoutCtx_s*, EcrCtx_s*)) noexcept {
  return guardPrintoutOfTerminal(
      method, [build](PrintoutCtx_s* prCtx, EcrCtx_s* ctx) { return printout(prCtx, ctx, build); });
}

}  // namespace

extern "C" {

// ---- The printout context and its settings ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_initializePrintout(JNIEnv*,
                                                                                        jclass) {
  return guardJni(__func__, [&] {
    const HandleReplacement replacing(Handle::PRINTOUT);
    if (replacing.refused()) return codeOf(PRINTOUT_NULL_CTX);
    return codeOf(pr_initPrintoutCtx(&printoutCtx));
  });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_cleanupPrintout(JNIEnv*,
                                                                                     jclass) {
  guardJni(__func__, [&] {
    const HandleReplacement replacing(Handle::PRINTOUT);
    if (replacing.refused()) return;
    pr_cleanPrintoutCtx(&printoutCtx);
  });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setDictionaryPhrase(
    JNIEnv* env, jclass, jint id, jbyteArray text) {
  guardJni(__func__, [&] { setPhrase(env, id, text); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setupDictionary(
    JNIEnv* env, jclass, jintArray ids, jobjectArray texts) {
  return guardJni(__func__, [&] { return setPhrases(env, ids, texts); });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setFiscalFormatLine(
    JNIEnv*, jclass, jint formatId, jint printerLine, jint length) {
  guardJni(__func__, [&] {
    const pr_FiscalFormatLine line = {asUnsigned(printerLine), asUnsigned(length)};
    pr_setFiscalFormatLine(static_cast<pr_FiscalFormatId>(asUnsigned(formatId)), line);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setNormalLineLength(JNIEnv*, jclass, jint length) {
  return guardPrintout(__func__, [&](PrintoutCtx_s* prCtx) {
    return lineLength(prCtx, pr_setNormalLineLen, length);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setSmallLineLength(JNIEnv*, jclass, jint length) {
  return guardPrintout(__func__, [&](PrintoutCtx_s* prCtx) {
    return lineLength(prCtx, pr_setSmallLineLen, length);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setBigLineLength(JNIEnv*,
                                                                                      jclass,
                                                                                      jint length) {
  return guardPrintout(
      __func__, [&](PrintoutCtx_s* prCtx) { return lineLength(prCtx, pr_setBigLineLen, length); });
}

JNIEXPORT void JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setHidingAddress(JNIEnv*, jclass, jboolean hide) {
  guardJni(__func__, [&] { pr_setHidingAddress(asBool(hide)); });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setUsingSignatureVerifiedLine(
    JNIEnv*, jclass, jboolean use) {
  guardJni(__func__, [&] { pr_setUsingSignatureVerifiedLine(asBool(use)); });
}

// ---- Receipts ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareTransactionPrintout(
    JNIEnv*, jclass, jboolean customerCopy) {
  return guardPrintoutOfTerminal(__func__, [&](PrintoutCtx_s* prCtx, EcrCtx_s* ctx) {
    return receipt(prCtx, ctx, pr_prepareTransactionPrintout, customerCopy);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareTransactionFiscalPrintout(
    JNIEnv*, jclass, jboolean customerCopy) {
  return guardPrintoutOfTerminal(__func__, [&](PrintoutCtx_s* prCtx, EcrCtx_s* ctx) {
    return receipt(prCtx, ctx, pr_prepareTransactionFiscalPrintout, customerCopy);
  });
}

// ---- Reports ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareShortSummary(JNIEnv*,
                                                                                         jclass) {
  return report(__func__, pr_prepareShortSummary);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startFullSummary(JNIEnv*,
                                                                                      jclass) {
  return report(__func__, pr_startFullSummary);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullSummaryEntry(JNIEnv*,
                                                                                         jclass) {
  return report(__func__, pr_addFullSummaryEntry);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFullSummary(JNIEnv*,
                                                                                       jclass) {
  return report(__func__, pr_finishFullSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareShortTransactionAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_prepareShortTransactionAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startTransactionAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_startTransactionAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullTransactionAnalysisEntry(JNIEnv*, jclass) {
  return report(__func__, pr_addFullTransactionAnalysisEntry);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullTransactionAnalysisSummary(JNIEnv*, jclass) {
  return report(__func__, pr_addFullTransactionAnalysisSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishTransactionAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_finishTransactionAnalysis);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startDccAnalysis(JNIEnv*,
                                                                                      jclass) {
  return report(__func__, pr_startDccAnalysis);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_addDccAnalysisEntry(JNIEnv*,
                                                                                         jclass) {
  return report(__func__, pr_addDccAnalysisEntry);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishDccAnalysis(JNIEnv*,
                                                                                       jclass) {
  return report(__func__, pr_finishDccAnalysis);
}

// ---- Fiscal reports ----

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareFiscalShortSummary(JNIEnv*, jclass) {
  return report(__func__, pr_prepareFiscalShortSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalFullSummary(JNIEnv*, jclass) {
  return report(__func__, pr_startFiscalFullSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullSummaryEntry(JNIEnv*, jclass) {
  return report(__func__, pr_addFiscalFullSummaryEntry);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalFullSummary(JNIEnv*, jclass) {
  return report(__func__, pr_finishFiscalFullSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareFiscalShortTransactionAnalysis(JNIEnv*,
                                                                                    jclass) {
  return report(__func__, pr_prepareFiscalShortTransactionAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalTransactionAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_startFiscalTransactionAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullTransactionAnalysisEntry(JNIEnv*,
                                                                                    jclass) {
  return report(__func__, pr_addFiscalFullTransactionAnalysisEntry);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullTransactionAnalysisSummary(JNIEnv*,
                                                                                      jclass) {
  return report(__func__, pr_addFiscalFullTransactionAnalysisSummary);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalTransactionAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_finishFiscalTransactionAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalDccAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_startFiscalDccAnalysis);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalDccAnalysisEntry(JNIEnv*, jclass) {
  return report(__func__, pr_addFiscalDccAnalysisEntry);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalDccAnalysis(JNIEnv*, jclass) {
  return report(__func__, pr_finishFiscalDccAnalysis);
}

// ---- The closing day ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startClosingDay(JNIEnv*,
                                                                                     jclass) {
  return report(__func__, pr_startClosingDay);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addClosingDayTransaction(JNIEnv*, jclass) {
  return report(__func__, pr_addClosingDayTransaction);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishClosingDay(JNIEnv*,
                                                                                      jclass) {
  return report(__func__, pr_finishClosingDay);
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalClosingDay(JNIEnv*,
                                                                                           jclass) {
  return report(__func__, pr_startFiscalClosingDay);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalClosingDayTransaction(JNIEnv*, jclass) {
  return report(__func__, pr_addFiscalClosingDayTransaction);
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalClosingDay(JNIEnv*, jclass) {
  return report(__func__, pr_finishFiscalClosingDay);
}

// ---- The lines ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getNumberOfLines(JNIEnv*,
                                                                                      jclass) {
  return guardPrintout(__func__, [&](PrintoutCtx_s* prCtx) {
    return static_cast<jint>(pr_getNumberOfLines(prCtx));
  });
}

JNIEXPORT jobject JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getNextLine(JNIEnv* env,
                                                                                    jclass) {
  return guardPrintout(__func__,
                       [&](PrintoutCtx_s* prCtx) { return readNextLineObject(env, prCtx); });
}

}  // extern "C"
