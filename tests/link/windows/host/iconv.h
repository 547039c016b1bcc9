/* iconv for the Windows build of the example host, which mingw-w64 lacks: a
 * converter that is never available, as iconv_open answers for a conversion
 * it does not know. The example then shows the print lines' Windows-1250
 * bytes as they are. */
#ifndef ZQ_WINDOWS_HOST_ICONV_H
#define ZQ_WINDOWS_HOST_ICONV_H

#include <errno.h>
#include <stddef.h>

typedef void* iconv_t;

static inline iconv_t iconv_open(const char* to, const char* from) {
  (void)to;
  (void)from;
  errno = EINVAL;
  return (iconv_t)-1;
}

static inline size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
  (void)cd;
  (void)in;
  (void)inLeft;
  (void)out;
  (void)outLeft;
  errno = EBADF;
  return (size_t)-1;
}

static inline int iconv_close(iconv_t cd) {
  (void)cd;
  errno = EBADF;
  return -1;
}

#endif
