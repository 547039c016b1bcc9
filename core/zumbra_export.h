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

/* The Windows DLL exports only the Java entry points, so there the C
 * interface stays internal; the Linux shared object exports it. */
#if defined(_WIN32)
#define ZQ_API
#else
#define ZQ_API __attribute__((visibility("default")))
#endif

#endif
