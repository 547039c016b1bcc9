// Native methods of zumbra.terminal.NativeEcrPaymentTerminal: the printouts,
// on the binding's one printout context and its one terminal context. Every
// method is one line of a family of PrintoutMethods.h, run under the guard of
// JniGuard.h; the header javac generated from the Java class declares each
// of them.
#include "jni/JniGuard.h"
#include "jni/PrintoutMethods.h"
#include "zumbra_terminal_NativeEcrPaymentTerminal.h"

using namespace zq::app::jni;

extern "C" {

// ---- The printout context and its settings ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_initializePrintout(JNIEnv*,
                                                                                        jclass) {
  return guardJni(__func__, [&] { return codeOf(pr_initPrintoutCtx(&printoutCtx)); });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_cleanupPrintout(JNIEnv*,
                                                                                     jclass) {
  guardJni(__func__, [&] { pr_cleanPrintoutCtx(&printoutCtx); });
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
  return guardJni(__func__, [&] { return lineLength(pr_setNormalLineLen, length); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setSmallLineLength(JNIEnv*, jclass, jint length) {
  return guardJni(__func__, [&] { return lineLength(pr_setSmallLineLen, length); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setBigLineLength(JNIEnv*,
                                                                                      jclass,
                                                                                      jint length) {
  return guardJni(__func__, [&] { return lineLength(pr_setBigLineLen, length); });
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
  return guardJni(__func__, [&] { return receipt(pr_prepareTransactionPrintout, customerCopy); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareTransactionFiscalPrintout(
    JNIEnv*, jclass, jboolean customerCopy) {
  return guardJni(__func__,
                  [&] { return receipt(pr_prepareTransactionFiscalPrintout, customerCopy); });
}

// ---- Reports ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareShortSummary(JNIEnv*,
                                                                                         jclass) {
  return guardJni(__func__, [&] { return printout(pr_prepareShortSummary); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startFullSummary(JNIEnv*,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return printout(pr_startFullSummary); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullSummaryEntry(JNIEnv*,
                                                                                         jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFullSummaryEntry); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFullSummary(JNIEnv*,
                                                                                       jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishFullSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareShortTransactionAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_prepareShortTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startTransactionAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_startTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullTransactionAnalysisEntry(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFullTransactionAnalysisEntry); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFullTransactionAnalysisSummary(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFullTransactionAnalysisSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishTransactionAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishTransactionAnalysis); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startDccAnalysis(JNIEnv*,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return printout(pr_startDccAnalysis); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_addDccAnalysisEntry(JNIEnv*,
                                                                                         jclass) {
  return guardJni(__func__, [&] { return printout(pr_addDccAnalysisEntry); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishDccAnalysis(JNIEnv*,
                                                                                       jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishDccAnalysis); });
}

// ---- Fiscal reports ----

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareFiscalShortSummary(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_prepareFiscalShortSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalFullSummary(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_startFiscalFullSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullSummaryEntry(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFiscalFullSummaryEntry); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalFullSummary(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishFiscalFullSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_prepareFiscalShortTransactionAnalysis(JNIEnv*,
                                                                                    jclass) {
  return guardJni(__func__, [&] { return printout(pr_prepareFiscalShortTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalTransactionAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_startFiscalTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullTransactionAnalysisEntry(JNIEnv*,
                                                                                    jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFiscalFullTransactionAnalysisEntry); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalFullTransactionAnalysisSummary(JNIEnv*,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFiscalFullTransactionAnalysisSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalTransactionAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishFiscalTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalDccAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_startFiscalDccAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalDccAnalysisEntry(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFiscalDccAnalysisEntry); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalDccAnalysis(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishFiscalDccAnalysis); });
}

// ---- The closing day ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startClosingDay(JNIEnv*,
                                                                                     jclass) {
  return guardJni(__func__, [&] { return printout(pr_startClosingDay); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addClosingDayTransaction(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addClosingDayTransaction); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_finishClosingDay(JNIEnv*,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishClosingDay); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startFiscalClosingDay(JNIEnv*,
                                                                                           jclass) {
  return guardJni(__func__, [&] { return printout(pr_startFiscalClosingDay); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_addFiscalClosingDayTransaction(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_addFiscalClosingDayTransaction); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_finishFiscalClosingDay(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return printout(pr_finishFiscalClosingDay); });
}

// ---- The lines ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getNumberOfLines(JNIEnv*,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return static_cast<jint>(pr_getNumberOfLines(printoutCtx)); });
}

JNIEXPORT jobject JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getNextLine(JNIEnv* env,
                                                                                    jclass) {
  return guardJni(__func__, [&] { return readNextLineObject(env); });
}

}  // extern "C"
