/* Logging of the library: developer, communication and business families,
 * six levels each, a printf-style text function and a hex dump per level.
 * Every line goes to the family's file category and to its inner category,
 * which forwards it to the host's log callback. */
#ifndef ZUMBRA_LOG_H
#define ZUMBRA_LOG_H

#include <stddef.h>
#include "zumbra_export.h"

#if defined(__MINGW32__)
/* log4c formats with mingw-w64's C99 printf, not the Windows runtime's. */
#define ZQ_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define ZQ_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ZQ_PRINTF(fmt, args)
#endif

ZQ_BEGIN_DECLS

ZQ_API void logDevFatal(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevError(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevWarn(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevInfo(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevDebug(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevTrace(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logDevFatalHex(const void* data, size_t length);
ZQ_API void logDevErrorHex(const void* data, size_t length);
ZQ_API void logDevWarnHex(const void* data, size_t length);
ZQ_API void logDevInfoHex(const void* data, size_t length);
ZQ_API void logDevDebugHex(const void* data, size_t length);
ZQ_API void logDevTraceHex(const void* data, size_t length);

ZQ_API void logCommFatal(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommError(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommWarn(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommInfo(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommDebug(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommTrace(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logCommFatalHex(const void* data, size_t length);
ZQ_API void logCommErrorHex(const void* data, size_t length);
ZQ_API void logCommWarnHex(const void* data, size_t length);
ZQ_API void logCommInfoHex(const void* data, size_t length);
ZQ_API void logCommDebugHex(const void* data, size_t length);
ZQ_API void logCommTraceHex(const void* data, size_t length);

ZQ_API void logBusFatal(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusError(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusWarn(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusInfo(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusDebug(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusTrace(const char* format, ...) ZQ_PRINTF(1, 2);
ZQ_API void logBusFatalHex(const void* data, size_t length);
ZQ_API void logBusErrorHex(const void* data, size_t length);
ZQ_API void logBusWarnHex(const void* data, size_t length);
ZQ_API void logBusInfoHex(const void* data, size_t length);
ZQ_API void logBusDebugHex(const void* data, size_t length);
ZQ_API void logBusTraceHex(const void* data, size_t length);

ZQ_END_DECLS

#endif
