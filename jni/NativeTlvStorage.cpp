// Native methods of zumbra.terminal.NativeTlvStorage: a TLV store of the Java
// application's own, independent of the terminal context.
#include <cstddef>

#include "jni/JniFrame.h"
#include "jni/JniGuard.h"
#include "zumbra_terminal_NativeTlvStorage.h"

namespace {

using zq::app::jni::guardJni;
using zq::app::jni::JavaBytes;
using zq::app::jni::kArgumentUnavailable;

// Room for a tag value or a store image read back to Java.
constexpr std::size_t kReadBufferSize = 512;

using StoreWrite = int (*)(TlvStore_s*, const unsigned char*, std::size_t);
using TagWrite = int (*)(TlvStore_s*, TlvTag, const unsigned char*, std::size_t);

// The Java length, not the array's, goes to the store: the application may
// hand over fewer bytes than the array holds, never more, and never a
// negative count, which would otherwise reach the store as a huge length.
jint writeTag(JNIEnv* env, TagWrite write, jint tag, jbyteArray data, jint len) {
  JavaBytes bytes(env, data);
  if (!bytes.available() || !bytes.holds(len)) return kArgumentUnavailable;
  return write(tlvStore, static_cast<TlvTag>(tag), bytes.data(), static_cast<std::size_t>(len));
}

jint writeStore(JNIEnv* env, StoreWrite write, jbyteArray data, jint len) {
  JavaBytes bytes(env, data);
  if (!bytes.available() || !bytes.holds(len)) return kArgumentUnavailable;
  return write(tlvStore, bytes.data(), static_cast<std::size_t>(len));
}

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeTlvStorage_tlvInit(JNIEnv*, jclass) {
  guardJni(__func__, [&] { tlv_init(&tlvStore); });
}

JNIEXPORT void JNICALL Java_zumbra_terminal_NativeTlvStorage_tlvClean(JNIEnv*, jclass) {
  guardJni(__func__, [&] { tlv_clean(&tlvStore); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_addTag(JNIEnv* env, jclass, jint tag,
                                                                    jbyteArray data, jint len) {
  return guardJni(__func__, [&] { return writeTag(env, addTag, tag, data, len); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_forceAddTag(JNIEnv* env, jclass,
                                                                         jint tag, jbyteArray data,
                                                                         jint len) {
  return guardJni(__func__, [&] { return writeTag(env, forceAddTag, tag, data, len); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_replaceTag(JNIEnv* env, jclass,
                                                                        jint tag, jbyteArray data,
                                                                        jint len) {
  return guardJni(__func__, [&] { return writeTag(env, replaceTag, tag, data, len); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_removeTag(JNIEnv*, jclass, jint tag) {
  return guardJni(__func__, [&] { return removeTag(tlvStore, static_cast<TlvTag>(tag)); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_findTag(JNIEnv*, jclass, jint tag) {
  return guardJni(__func__, [&] { return findTag(tlvStore, static_cast<TlvTag>(tag)); });
}

JNIEXPORT jbyteArray JNICALL Java_zumbra_terminal_NativeTlvStorage_readTag(JNIEnv* env, jclass,
                                                                           jint tag) {
  return guardJni(__func__, [&]() -> jbyteArray {
    unsigned char buffer[kReadBufferSize];
    std::size_t length = sizeof buffer;
    if (readTag(tlvStore, static_cast<TlvTag>(tag), buffer, &length) != TLV_OK) return nullptr;
    return zq::app::jni::newByteArray(env, buffer, length);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_setBuffer(JNIEnv* env, jclass,
                                                                       jbyteArray data, jint len) {
  return guardJni(__func__, [&] { return writeStore(env, setBuffer, data, len); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_addBuffer(JNIEnv* env, jclass,
                                                                       jbyteArray data, jint len) {
  return guardJni(__func__, [&] { return writeStore(env, addBuffer, data, len); });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_forceAddBuffer(JNIEnv* env, jclass,
                                                                            jbyteArray data,
                                                                            jint len) {
  return guardJni(__func__, [&] { return writeStore(env, forceAddBuffer, data, len); });
}

JNIEXPORT jbyteArray JNICALL Java_zumbra_terminal_NativeTlvStorage_readBuffer(JNIEnv* env, jclass) {
  return guardJni(__func__, [&]() -> jbyteArray {
    unsigned char buffer[kReadBufferSize];
    std::size_t length = sizeof buffer;
    if (readBuffer(tlvStore, buffer, &length) != TLV_OK) return nullptr;
    return zq::app::jni::newByteArray(env, buffer, length);
  });
}

JNIEXPORT jint JNICALL Java_zumbra_terminal_NativeTlvStorage_clearStore(JNIEnv*, jclass) {
  return guardJni(__func__, [&] { return clearStore(tlvStore); });
}

}  // extern "C"
