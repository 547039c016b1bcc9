// The callback bridge: function-pointer callbacks of the library that call the
// methods of the Java object registered through
// zumbra.terminal.NativeEcrCallbacks.register.
#pragma once

#include <jni.h>

namespace zq::app::jni {

// 0 with the current thread's environment in *env (attaching a thread the
// virtual machine does not know, for one callback), or -1. Every 0 is
// ended by one finishNativeCallback on the same thread.
int getJniEnvironment(JNIEnv** env);
// Ends a callback that obtained an environment: a Java exception is printed
// and cleared; the outermost callback of the thread detaches the thread if
// it was attached for it.
void finishNativeCallback(JNIEnv* env);
// Copies strlen(text) bytes of the text into the array from index 0, without
// the terminator.
void setByteArray(JNIEnv* env, jbyteArray array, const char* text);

}  // namespace zq::app::jni
