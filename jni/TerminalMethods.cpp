#include "jni/TerminalMethods.h"

#include "core/zumbra_log.h"

namespace zq::app::jni {

namespace {

// Room of each text the binding reads into its own buffers.
constexpr std::size_t kIdentifierSize = 32;
constexpr std::size_t kAddressLineSize = 64;
constexpr std::size_t kEntryNameSize = 64;
constexpr jsize kAddressLines = 3;

}  // namespace

void logRefusedNumber(const char* what, jint value) {
  logBusError("Incorrect %s %d", what, static_cast<int>(value));
}

jstring readIdentifier(JNIEnv* env, EcrCtx_s* ctx,
                       ecr_status (*read)(EcrCtx_s*, std::uint8_t*, std::size_t*)) {
  std::uint8_t buffer[kIdentifierSize] = {};
  std::size_t length = sizeof buffer;
  if (read(ctx, buffer, &length) != ECR_OK || length > sizeof buffer) return nullptr;
  return newAsciiString(env, reinterpret_cast<const char*>(buffer), length);
}

jobjectArray readAddressLines(JNIEnv* env, EcrCtx_s* ctx) {
  std::uint8_t lines[kAddressLines][kAddressLineSize] = {};
  std::size_t lengths[kAddressLines] = {kAddressLineSize, kAddressLineSize, kAddressLineSize};
  if (ecr_readTerminalAddress(ctx, lines[0], &lengths[0], lines[1], &lengths[1], lines[2],
                              &lengths[2]) != ECR_OK) {
    return nullptr;
  }
  const LocalRef<jclass> bytesClass(env, env->FindClass("[B"));
  if (!bytesClass) return nullptr;
  jobjectArray address = env->NewObjectArray(kAddressLines, bytesClass.get(), nullptr);
  if (!address) return nullptr;
  for (jsize i = 0; i < kAddressLines; ++i) {
    const LocalRef<jbyteArray> line(env, newByteArray(env, lines[i], lengths[i]));
    if (!line) {
      env->DeleteLocalRef(address);
      return nullptr;
    }
    env->SetObjectArrayElement(address, i, line.get());
  }
  return address;
}

jobject readReportEntryObject(JNIEnv* env, EcrCtx_s* ctx, jint id) {
  const JavaConstructor entry(env, "zumbra/api/EcrReportEntry", "(I[BIJ)V");
  if (!entry.available()) return nullptr;
  std::uint8_t name[kEntryNameSize] = {};
  std::size_t nameLength = sizeof name;
  std::uint32_t count = 0;
  std::int64_t amount = 0;
  if (ecr_readReportEntry(ctx, signExtended(id), name, &nameLength, &count, &amount) != ECR_OK ||
      nameLength > sizeof name) {
    return nullptr;
  }
  const LocalRef<jbyteArray> nameBytes(env, newByteArray(env, name, nameLength));
  if (!nameBytes) return nullptr;
  // The entry's own id field is 0; the host knows which id it asked for.
  return entry.construct(jint{0}, nameBytes.get(), static_cast<jint>(count),
                         static_cast<jlong>(amount));
}

}  // namespace zq::app::jni
