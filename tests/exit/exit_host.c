/* A C host that calls the library while its process exits, from an atexit
 * handler registered before or after its first library call, or (built
 * with ZQ_EXIT_DLOPEN) registered before it opens the library with dlopen.
 *
 *   exit_host <atexit-before|atexit-after|dlopen> <call> <terminal port>
 *
 * Exits 0 when the call gave the answers of exit_calls.c, 1 otherwise. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "exit_calls.h"

#ifdef ZQ_EXIT_DLOPEN
#include <dlfcn.h>
static int (*prepareCall)(const char*, unsigned);
static int (*runCall)(const char*, int);
#else
#define prepareCall exitCallPrepare
#define runCall exitCallRun
#endif

static const char* call = "";
static int loggersUp = 0;

static void atExit(void) {
  if (runCall(call, loggersUp) != 0) {
    printf("%s at the exit failed\n", call);
    fflush(stdout);
    _exit(1);
  }
}

int main(int argc, char** argv) {
  const char* where;
  if (argc != 4) {
    printf("usage: exit_host <where> <call> <port>\n");
    return 2;
  }
  where = argv[1];
  call = argv[2];
#ifdef ZQ_EXIT_DLOPEN
  if (strcmp(where, "dlopen") != 0) return 2;
  atexit(atExit);
  {
    /* ISO C has no conversion from void* to a function pointer. */
    void* module = dlopen(ZQ_EXIT_CALLS_MODULE, RTLD_NOW);
    void* prepare = module ? dlsym(module, "exitCallPrepare") : NULL;
    void* run = module ? dlsym(module, "exitCallRun") : NULL;
    if (!prepare || !run) {
      printf("cannot open %s: %s\n", ZQ_EXIT_CALLS_MODULE, dlerror());
      return 1;
    }
    memcpy(&prepareCall, &prepare, sizeof prepare);
    memcpy(&runCall, &run, sizeof run);
  }
#else
  if (strcmp(where, "atexit-before") == 0) {
    atexit(atExit);
  } else if (strcmp(where, "atexit-after") != 0) {
    return 2;
  }
#endif
  if (prepareCall(call, (unsigned)atoi(argv[3])) != 0) return 1;
  if (strcmp(where, "atexit-after") == 0) {
    /* Registered after the library's first calls: it runs while the
     * library's loggers are still up. */
    loggersUp = 1;
    atexit(atExit);
  }
  return 0;
}
