// Native methods of zumbra.terminal.NativeEcrPaymentTerminal: the terminal
// functions on the binding's one terminal context. Every method is one line
// of a family of TerminalMethods.h, run under the guard of JniGuard.h; the
// header javac generated from the Java class declares each of them, so a
// signature that differs from its Java method does not compile.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "jni/JniGuard.h"
#include "jni/TerminalMethods.h"
#include "zumbra_terminal_NativeEcrPaymentTerminal.h"

using namespace zq::app::jni;

namespace {

// Room for a fleet-card product name with its NUL.
constexpr std::size_t kProductNameSize = 64;
// Room for the terminal's reply to a message passed through.
constexpr std::size_t kExchangeReplySize = 260;

}  // namespace

extern "C" {

// ---- Life cycle and link ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_initialize(JNIEnv*, jclass) {
  return guardJni(__func__, [&] {
    const HandleReplacement replacing(Handle::TERMINAL);
    if (replacing.refused()) return statusOf(ECR_INVALID_ARGUMENT);
    return statusOf(ecr_initialize(&ecrCtx));
  });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_cleanup(JNIEnv*, jclass) {
  guardJni(__func__, [&] {
    const HandleReplacement replacing(Handle::TERMINAL);
    if (replacing.refused()) return;
    ecr_cleanup(&ecrCtx);
  });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setProtocol(JNIEnv*, jclass,
                                                                                 jint id) {
  guardTerminal(__func__, [&](EcrCtx_s* ctx) { ecr_setProtocol(ctx, asUnsigned(id)); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTcpIpLink(
    JNIEnv* env, jclass, jstring address, jint port, jint timeoutMs) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    return withChars(env, address, [&](const char* host) {
      return statusOf(ecr_setTcpIpLink(ctx, host, low16Bits(port), asUnsigned(timeoutMs)));
    });
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setSerialLink(
    JNIEnv* env, jclass, jstring port, jint dataMode, jint baudrate, jint timeoutMs) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    const auto mode = hostEnum(dataMode, COMM_8N1, COMM_7N1, "serial data mode");
    const auto speed = hostEnum(baudrate, COMM_BAUD_9600, COMM_BAUD_115200, "serial baud rate");
    if (!mode || !speed) return statusOf(ECR_INVALID_ARGUMENT);
    return withChars(env, port, [&](const char* device) {
      return statusOf(ecr_setSerialLink(ctx, device, *mode, *speed, asUnsigned(timeoutMs)));
    });
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_closeConnection(JNIEnv*,
                                                                                     jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_closeConnection); });
}

JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getLibVersion(JNIEnv* env,
                                                                                      jclass) {
  return guardJni(__func__, [&] { return env->NewStringUTF(ecr_getVersion()); });
}

// ---- Setters ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionAmount(
    JNIEnv* env, jclass, jstring amount) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, amount, ecr_setTransactionAmount);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionTitle(
    JNIEnv* env, jclass, jstring title) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, title, ecr_setTransactionTitle);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionBlikCode(
    JNIEnv* env, jclass, jstring code) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, code, ecr_setTransactionBlikCode);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setAdditionalPrintoutData(
    JNIEnv* env, jclass, jstring data) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, data, ecr_setAdditionalPrintoutData);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setNumberOfTransactionToComplete(JNIEnv* env, jclass,
                                                                               jstring number) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, number, ecr_setNumberOfTransactionToComplete);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setNumberOfTransactionToReverse(JNIEnv* env, jclass,
                                                                              jstring number) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return textSetter(env, ctx, number, ecr_setNumberOfTransactionToReverse);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setEvoucherEan(JNIEnv* env,
                                                                                    jclass,
                                                                                    jstring ean) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return textSetter(env, ctx, ean, ecr_setEvoucherEan); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setCashRegisterId(JNIEnv* env,
                                                                                       jclass,
                                                                                       jstring id) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    // The id is one byte of every request: it is measured in bytes, so that a
    // letter of two bytes is refused instead of half of it being sent.
    return withChars(env, id, [ctx](const char* chars) {
      return statusOf(ecr_setCashRegisterId(ctx, chars, std::strlen(chars)));
    });
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionType(JNIEnv*,
                                                                                        jclass,
                                                                                        jint type) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    // The enumeration has int as its underlying type, so any Java int is a
    // value of it; the library refuses a number that names no type itself,
    // after it has checked the context.
    return statusOf(ecr_setTransactionType(ctx, static_cast<ecr_transactionType>(type)));
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTagToEmpty(JNIEnv*, jclass,
                                                                                   jint tag) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return statusOf(ecr_setTagToEmpty(ctx, asUnsigned(tag))); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionId(JNIEnv*,
                                                                                      jclass,
                                                                                      jint id) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return statusOf(ecr_setTransactionId(ctx, asUnsigned(id))); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setCardsetId(JNIEnv*, jclass,
                                                                                  jint id) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return statusOf(ecr_setCardsetId(ctx, asUnsigned(id))); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setCurrencyId(JNIEnv*, jclass,
                                                                                   jint id) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return statusOf(ecr_setCurrencyId(ctx, asUnsigned(id))); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTerminalIndex(JNIEnv*,
                                                                                      jclass,
                                                                                      jint index) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return statusOf(ecr_setTerminalIndex(ctx, low8Bits(index)));
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setEvoucherOperationType(JNIEnv*, jclass, jint type) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return statusOf(ecr_setEvoucherOperationType(ctx, low8Bits(type)));
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setHandleTerminalRequests(
    JNIEnv*, jclass, jint mode) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return statusOf(ecr_setHandleTerminalRequests(ctx, requestMode(mode)));
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setResetReport(JNIEnv*, jclass, jboolean reset) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return statusOf(ecr_setResetReport(ctx, asBool(reset))); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_setTransactionTokenGenerationEnabled(JNIEnv*,
                                                                                   jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return command(ctx, ecr_setTransactionTokenGenerationEnabled);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_addFleetCardData(
    JNIEnv* env, jclass, jbyteArray data) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    return withBytes(env, data, [ctx](const std::uint8_t* bytes, std::size_t length) {
      return statusOf(ecr_addFleetCardProductData(ctx, bytes, length));
    });
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_setTag(JNIEnv* env, jclass,
                                                                            jint tag,
                                                                            jbyteArray value) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    return withBytes(env, value, [ctx, tag](const std::uint8_t* bytes, std::size_t length) {
      return statusOf(ecr_setTag(ctx, asUnsigned(tag), bytes, length));
    });
  });
}

// ---- Readers of numbers, enumerations and flags ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionResult(JNIEnv*,
                                                                                           jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readTransactionResult); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionType(JNIEnv*,
                                                                                         jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readTransactionType); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readOriginalTransactionType(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readOriginalTransactionType); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readUsedCardReaderType(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readUsedCardReaderType); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readAuthorizationType(JNIEnv*,
                                                                                           jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readAuthorizationType); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readAuthorizationMethod(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readAuthorizationMethod); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readEmvCryptogramType(JNIEnv*,
                                                                                           jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readEmvCryptogramType); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalStatus(JNIEnv*,
                                                                                        jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readTerminalStatus); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readBatchStatus(JNIEnv*,
                                                                                     jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readBatchStatus); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionCurrencyCode(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readTransactionCurrencyCode); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalCurrencyCode(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readTerminalCurrencyCode); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfTerminalMadePrinout(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readIfTerminalMadePrinout); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfMultilanguagePrintoutIsRequired(JNIEnv*,
                                                                                    jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readValue(ctx, ecr_readIfMultilanguagePrintoutIsRequired);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfReversalWasManual(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readIfReversalWasManual); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfTransactionWasReversal(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readIfTransactionWasReversal); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfIsFleetCardIndicator(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readIfIsFleetCardIndicator); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readIfIsFleetCardSignature(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readValue(ctx, ecr_readIfIsFleetCardSignature); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getLastReturnCode(JNIEnv*,
                                                                                       jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jint {
    // Left as it is when the context is not initialised: -1 then.
    std::uint32_t code = asUnsigned(kNoValue);
    ecr_getLastReturnCode(ctx, &code);
    return static_cast<jint>(code);
  });
}

JNIEXPORT jchar JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readCurrencyExponent(JNIEnv*,
                                                                                           jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jchar {
    char exponent = '\0';
    if (ecr_readCurrencyExponent(ctx, &exponent) != ECR_OK) return 0;
    return static_cast<jchar>(static_cast<unsigned char>(exponent));
  });
}

// ---- Readers of texts ----

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionDate(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_TRANSACTION_DATE_SIZE>(env, ctx, ecr_readTransactionDate);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionTime(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_TRANSACTION_TIME_SIZE>(env, ctx, ecr_readTransactionTime);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionCryptogram(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_CRYPTOGRAM_SIZE>(env, ctx, ecr_readTransactionCryptogram);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionCounter(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_TRANSACTION_COUNTER_SIZE>(env, ctx, ecr_readTransactionCounter);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionTvr(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_TVR_SIZE>(env, ctx, ecr_readTransactionTvr);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionTsi(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_TSI_SIZE>(env, ctx, ecr_readTransactionTsi);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionAid(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_AID_SIZE>(env, ctx, ecr_readTransactionAid);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionCurrencyLabel(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_CURRENCY_LABEL_SIZE>(env, ctx, ecr_readTransactionCurrencyLabel);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalCurrencyLabel(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_CURRENCY_LABEL_SIZE>(env, ctx, ecr_readTerminalCurrencyLabel);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionAmount(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_AMOUNT_SIZE>(env, ctx, ecr_readTransactionAmount);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionAmountInTerminalCurrency(JNIEnv* env,
                                                                                      jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_AMOUNT_SIZE>(env, ctx, ecr_readTransactionAmountInTerminalCurrency);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionCashback(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_AMOUNT_SIZE>(env, ctx, ecr_readTransactionCashback);
  });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTransactionAmountOfTip(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_AMOUNT_SIZE>(env, ctx, ecr_readTransactionAmountOfTip);
  });
}

JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readAosa(JNIEnv* env,
                                                                                 jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return readText<ECR_AMOUNT_SIZE>(env, ctx, ecr_readAosa); });
}

JNIEXPORT jstring JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readAdditionalPrintoutData(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return readText<ECR_ADDITIONAL_PRINTOUT_DATA_SIZE>(env, ctx, ecr_readAdditionalPrintoutData);
  });
}

JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readFleetCardProductName(
    JNIEnv* env, jclass, jstring id) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jstring {
    const JavaChars chars(env, id);
    if (!chars.available()) return nullptr;
    return readTextWith<kProductNameSize>(env, [&chars, ctx](char* name) {
      return ecr_readFleetCardProductName(ctx, chars.get(), name, kProductNameSize);
    });
  });
}

JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalId(JNIEnv* env,
                                                                                       jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readIdentifier(env, ctx, ecr_readTerminalId); });
}

JNIEXPORT jstring JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readMerchantId(JNIEnv* env,
                                                                                       jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readIdentifier(env, ctx, ecr_readMerchantId); });
}

// ---- Readers of raw bytes ----

JNIEXPORT jbyteArray JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readTag(JNIEnv* env,
                                                                                   jclass,
                                                                                   jint tag) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    return readBytes<512>(env, [ctx, tag](std::uint8_t* buffer, std::size_t* length) {
      return ecr_readTag(ctx, asUnsigned(tag), buffer, length);
    });
  });
}

JNIEXPORT jbyteArray JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readFleetCardData(JNIEnv* env, jclass, jint tag) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    return readBytes<2048>(env, [ctx, tag](std::uint8_t* buffer, std::size_t* length) {
      return ecr_readFleetCardData(ctx, asUnsigned(tag), buffer, length);
    });
  });
}

JNIEXPORT jbyteArray JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readFleetCardProductData(
    JNIEnv* env, jclass, jint index) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    return readBytes<2048>(env, [ctx, index](std::uint8_t* buffer, std::size_t* length) {
      return ecr_readFleetCardProductData(ctx, low8Bits(index), buffer, length);
    });
  });
}

JNIEXPORT jbyteArray JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readResultTags(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    return readBytes<4096>(env, [ctx](std::uint8_t* buffer, std::size_t* length) {
      return ecr_readResultTags(ctx, buffer, length);
    });
  });
}

JNIEXPORT jbyteArray JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readReportTitle(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    return readBytes<64>(env, [ctx](std::uint8_t* buffer, std::size_t* length) {
      return ecr_readReportTitle(ctx, buffer, length);
    });
  });
}

JNIEXPORT jbyteArray JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_cmdExchange(JNIEnv* env, jclass, jbyteArray request) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) -> jbyteArray {
    const JavaBytes bytes(env, request);
    if (!bytes.available()) return nullptr;
    return readBytes<kExchangeReplySize>(
        env, [&bytes, ctx](std::uint8_t* reply, std::size_t* length) {
          return ecr_cmdExchange(ctx, bytes.data(), bytes.length(), reply, length);
        });
  });
}

JNIEXPORT jobjectArray JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalAddress(JNIEnv* env, jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) { return readAddressLines(env, ctx); });
}

// ---- Object readers ----

JNIEXPORT jobject JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_readReportEntry(JNIEnv* env,
                                                                                        jclass,
                                                                                        jint id) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return readReportEntryObject(env, ctx, id); });
}

// ---- Commands ----

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_startTransaction(JNIEnv*,
                                                                                      jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_startTransaction); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_continueTransaction(JNIEnv*,
                                                                                         jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_continueTransaction); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_cancelTransaction(JNIEnv*,
                                                                                       jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_cancelTransaction); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_waitForStatusChange(JNIEnv*,
                                                                                         jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_waitForStatusChange); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getLastTransactionData(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_getLastTransactionData); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_generateReport(JNIEnv*,
                                                                                    jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_generateReport); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getReportCardsetSummary(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_getReportCardsetSummary); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getReportTotalSummary(JNIEnv*,
                                                                                           jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_getReportTotalSummary); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_generateDccAnalysis(JNIEnv*,
                                                                                         jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_generateDccAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getTransactionDccAnalysisCurrencySummary(JNIEnv*,
                                                                                       jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return command(ctx, ecr_getTransactionDccAnalysisCurrencySummary);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getTransactionDccAnalysisTotalSummary(JNIEnv*,
                                                                                    jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) {
    return command(ctx, ecr_getTransactionDccAnalysisTotalSummary);
  });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_generateTransactionAnalysis(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_generateTransactionAnalysis); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getTransactionAnalysisDetails(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_getTransactionAnalysisDetails); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getTransactionAnalysisSummary(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_getTransactionAnalysisSummary); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_getSingleTransactionFromBatch(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_getSingleTransactionFromBatch); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getBatchSummary(JNIEnv*,
                                                                                     jclass) {
  return guardTerminal(__func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_getBatchSummary); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeEcrPaymentTerminal_getTerminalStatus(JNIEnv*,
                                                                                       jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_getTerminalStatus); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_readTerminalInformationData(JNIEnv*, jclass) {
  return guardTerminal(
      __func__, [&](EcrCtx_s* ctx) { return command(ctx, ecr_readTerminalInformationData); });
}

JNIEXPORT jint JNICALL
Java_zumbra_terminal_NativeEcrPaymentTerminal_startEvoucherTransaction(JNIEnv*, jclass) {
  return guardTerminal(__func__,
                       [&](EcrCtx_s* ctx) { return command(ctx, ecr_startEvoucherTransaction); });
}

}  // extern "C"
