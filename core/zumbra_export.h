/* Export marker of the library's C interface. */
#ifndef ZUMBRA_EXPORT_H
#define ZUMBRA_EXPORT_H

#ifdef __cplusplus
#define ZQ_EXTERN_C extern "C"
#define ZQ_BEGIN_DECLS extern "C" {
#define ZQ_END_DECLS }
#else
#define ZQ_EXTERN_C
#define ZQ_BEGIN_DECLS
#define ZQ_END_DECLS
#endif

/* The public enumerations are int-sized. In C++ int is their fixed underlying
 * type, so a number a host passes where an enumeration is expected is a value
 * the library may look at (and refuse) rather than undefined behaviour, and
 * their size does not depend on the compiler's choice. */
#ifdef __cplusplus
#define ZQ_ENUM_INT : int
#else
#define ZQ_ENUM_INT
#endif

/* The Windows DLL exports only the Java entry points, so there the C
 * interface stays internal; the Linux shared object exports it. */
#if defined(_WIN32)
#define ZQ_API
#else
#define ZQ_API __attribute__((visibility("default")))
#endif

#endif
