/* Machine-dependent JNI definitions for Windows targets, used with the JDK's
 * jni.h when cross-building with mingw-w64: the JDK installed here is the
 * Linux one, whose jni_md.h would give 64-bit longs and ELF visibility.
 * On Windows a jint is 32 bits, a jlong 64, and entry points are exported
 * from the DLL with the stdcall convention (which x86-64 ignores). */
#ifndef ZQ_WINDOWS_JNI_MD_H
#define ZQ_WINDOWS_JNI_MD_H

#include <stdint.h>

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef int32_t jint;
typedef int64_t jlong;
typedef signed char jbyte;

#endif
