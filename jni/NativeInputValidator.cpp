// Native method of zumbra.terminal.NativeInputValidator: the character check
// of the data-entry prompt the library asked the Java side for last.
#include "jni/JniFrame.h"
#include "jni/JniGuard.h"
#include "zumbra_terminal_NativeInputValidator.h"

using zq::app::jni::guardJni;

extern "C" JNIEXPORT jboolean JNICALL
Java_zumbra_terminal_NativeInputValidator_native_1isAllowed(JNIEnv*, jclass, jchar c) {
  return guardJni(__func__, [&]() -> jboolean {
    const zq::app::jni::CharacterChecker isAllowed = zq::app::jni::characterChecker();
    if (!isAllowed) return JNI_FALSE;
    // The checkers judge single Windows-1250 bytes: only the low 8 bits of the
    // Java character are tested.
    const char byte = static_cast<char>(static_cast<signed char>(c & 0xFF));
    return isAllowed(byte) ? JNI_TRUE : JNI_FALSE;
  });
}
