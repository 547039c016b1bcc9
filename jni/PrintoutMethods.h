// The families of the printout methods of zumbra.terminal.NativeEcrPaymentTerminal:
// the printout functions on the binding's one printout context, reading the
// binding's one terminal context. A native method is one line that names its
// pr_ function; the families take the contexts the method holds for its call
// (guardPrintout and guardPrintoutOfTerminal of JniGuard.h), or NULL.
#pragma once

#include <jni.h>

#include <cstdint>

#include "jni/JniFrame.h"

namespace zq::app::jni {

// A printout code (a pr_Status value), passed on unchanged.
inline jint codeOf(std::uint32_t code) { return static_cast<jint>(code); }

// A printout of the terminal context's data: a report or one of its steps,
// or the closing day.
inline jint printout(PrintoutCtx_s* prCtx, EcrCtx_s* ctx,
                     std::uint32_t (*build)(PrintoutCtx_s*, EcrCtx_s*)) {
  return codeOf(build(prCtx, ctx));
}

// The last transaction's receipt, the customer's copy or the merchant's.
inline jint receipt(PrintoutCtx_s* prCtx, EcrCtx_s* ctx,
                    std::uint32_t (*build)(PrintoutCtx_s*, EcrCtx_s*, bool),
                    jboolean customerCopy) {
  return codeOf(build(prCtx, ctx, asBool(customerCopy)));
}

// A line length: a negative Java int is a length above 64 and refused.
inline jint lineLength(PrintoutCtx_s* prCtx, std::uint32_t (*set)(PrintoutCtx_s*, std::uint32_t),
                       jint length) {
  return codeOf(set(prCtx, asUnsigned(length)));
}

// The phrase of one dictionary id; nothing is set when the text cannot be
// had or does not end with its 0 byte.
void setPhrase(JNIEnv* env, jint id, jbyteArray text);

// Phrases for ids, pair by pair: the library's code, or -1 without asking
// it when an array or a text cannot be had or a text does not end with its
// 0 byte.
jint setPhrases(JNIEnv* env, jintArray ids, jobjectArray texts);

// The next line of the printout as a zumbra.api.EcrPrintoutLine, or null:
// when its class or constructor cannot be found (before a line is taken),
// without a printout context, when no line is left, or when an array or
// the object cannot be created.
jobject readNextLineObject(JNIEnv* env, PrintoutCtx_s* prCtx);

}  // namespace zq::app::jni
