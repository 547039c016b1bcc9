// The families of the native methods of zumbra.terminal.NativeEcrPaymentTerminal.
// Each family converts its Java arguments and its answer one way, once; a
// native method is then one line that names its library function.
#pragma once

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/Validators.h"
#include "jni/JniFrame.h"

namespace zq::app::jni {

// Answer of an int reader with nothing to read.
constexpr jint kNoValue = -1;

inline jint statusOf(ecr_status status) { return static_cast<jint>(status); }

// ---- Java numbers as the library takes them ----

// Ports are 16 bits: 70000 is port 4464.
inline std::uint16_t low16Bits(jint value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
// Indexes and type bytes are 8 bits.
inline std::uint8_t low8Bits(jint value) { return static_cast<std::uint8_t>(value & 0xFF); }
// Entry ids are sign-extended: -1 is an id no report has.
inline std::size_t signExtended(jint value) {
  return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(value));
}
// The request-handling byte: 0 and 1 as given, 2 for any other mode.
inline std::uint32_t requestMode(jint mode) {
  return mode == 0 || mode == 1 ? asUnsigned(mode) : 2u;
}

// A Java int that becomes an enumeration of the library: a number outside
// first..last is no value of it, so it is refused (and logged with `what`)
// before it is converted.
void logRefusedNumber(const char* what, jint value);
template <typename Enum>
std::optional<Enum> hostEnum(jint value, Enum first, Enum last, const char* what) {
  Enum kind = first;
  if (!utils::enumFromNumber(value, first, last, kind)) {
    logRefusedNumber(what, value);
    return std::nullopt;
  }
  return kind;
}

// ---- Commands and setters: the library's status ----

// The families take the terminal context the method holds for its call
// (guardTerminal of JniGuard.h), or NULL.

// A function of the terminal context alone: the commands and a few setters.
inline jint command(EcrCtx_s* ctx, ecr_status (*run)(EcrCtx_s*)) { return statusOf(run(ctx)); }

// The String's characters for `call`, or -1 without calling it when they
// cannot be had (a null String among them).
template <typename Call>
jint withChars(JNIEnv* env, jstring text, Call call) {
  const JavaChars chars(env, text);
  if (!chars.available()) return kArgumentUnavailable;
  return call(chars.get());
}

inline jint textSetter(JNIEnv* env, EcrCtx_s* ctx, jstring text,
                       ecr_status (*set)(EcrCtx_s*, const char*)) {
  return withChars(env, text, [ctx, set](const char* chars) { return statusOf(set(ctx, chars)); });
}

// The array's elements and length for `call`, or -1 without calling it when
// they cannot be had; released with mode 0 whatever the call answered.
template <typename Call>
jint withBytes(JNIEnv* env, jbyteArray array, Call call) {
  const JavaBytes bytes(env, array);
  if (!bytes.available()) return kArgumentUnavailable;
  return call(bytes.data(), bytes.length());
}

// ---- Readers ----

// An enumeration, a flag (1 or 0) or a number read into a local: its value,
// or -1 when the reader did not answer ECR_OK.
template <typename T>
jint readValue(EcrCtx_s* ctx, ecr_status (*read)(EcrCtx_s*, T*)) {
  T value{};
  if (read(ctx, &value) != ECR_OK) return kNoValue;
  return static_cast<jint>(value);
}

// A text the reader writes with its NUL into a zeroed buffer of `Size`
// bytes: a String, or null when the reader did not answer ECR_OK.
template <std::size_t Size, typename Read>
jstring readTextWith(JNIEnv* env, Read read) {
  char buffer[Size] = {};
  if (read(buffer) != ECR_OK) return nullptr;
  buffer[Size - 1] = '\0';
  return newAsciiString(env, buffer);
}

template <std::size_t Size>
jstring readText(JNIEnv* env, EcrCtx_s* ctx, ecr_status (*read)(EcrCtx_s*, char*)) {
  return readTextWith<Size>(env, [ctx, read](char* buffer) { return read(ctx, buffer); });
}

// Bytes the reader writes into a buffer of `Size` bytes, with the buffer's
// size as the in/out length: a byte[] of exactly the bytes written, or null
// when the reader did not answer ECR_OK or the array cannot be created.
template <std::size_t Size, typename Read>
jbyteArray readBytes(JNIEnv* env, Read read) {
  std::uint8_t buffer[Size] = {};
  std::size_t length = Size;
  if (read(buffer, &length) != ECR_OK || length > Size) return nullptr;
  return newByteArray(env, buffer, length);
}

// An identifier the reader writes as raw bytes (no NUL) into a 32-byte
// buffer: a String of exactly those bytes, or null.
jstring readIdentifier(JNIEnv* env, EcrCtx_s* ctx,
                       ecr_status (*read)(EcrCtx_s*, std::uint8_t*, std::size_t*));

// The terminal's three address lines, each as the bytes the terminal sent:
// a byte[][] of three, or null when a line cannot be read or an array cannot
// be created.
jobjectArray readAddressLines(JNIEnv* env, EcrCtx_s* ctx);

// A report entry as a zumbra.api.EcrReportEntry, or null: when its class or
// constructor cannot be found (before the library is asked), when the entry
// cannot be read, or when an array or the object cannot be created.
jobject readReportEntryObject(JNIEnv* env, EcrCtx_s* ctx, jint id);

}  // namespace zq::app::jni
