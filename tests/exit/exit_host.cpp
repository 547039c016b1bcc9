// A C++ host that calls the library from destructors while its process
// exits: of a global built before its first library call, of one built
// after it, and of a second thread's thread_local built before that
// thread's first call.
//
//   exit_host_cpp <global-before|global-after|thread-local> <call> <terminal port>
//
// Exits 0 when the call gave the answers of exit_calls.c, 1 otherwise.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "exit_calls.h"

namespace {

const char* call = "";

// Makes the call from its destructor once armed.
struct CallAtDestruction {
  bool armed = false;
  bool loggersUp = false;
  ~CallAtDestruction() {
    if (armed && exitCallRun(call, loggersUp) != 0) {
      std::printf("%s at the exit failed\n", call);
      std::fflush(stdout);
      _exit(1);
    }
  }
};

// Built before main, so before anything of the library is first used.
CallAtDestruction hostGlobal;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::printf("usage: exit_host_cpp <where> <call> <port>\n");
    return 2;
  }
  const char* where = argv[1];
  call = argv[2];
  const unsigned port = static_cast<unsigned>(std::atoi(argv[3]));
  if (std::strcmp(where, "global-before") == 0) {
    hostGlobal.armed = true;
    return exitCallPrepare(call, port) == 0 ? 0 : 1;
  }
  if (std::strcmp(where, "global-after") == 0) {
    if (exitCallPrepare(call, port) != 0) return 1;
    // Built after the library's first calls: destroyed while its loggers are up.
    static CallAtDestruction hostLate;
    hostLate.loggersUp = true;
    hostLate.armed = true;
    return 0;
  }
  if (std::strcmp(where, "thread-local") == 0) {
    int prepared = 1;
    std::thread thread([&prepared, port] {
      thread_local CallAtDestruction own;
      own.loggersUp = true;
      own.armed = true;
      prepared = exitCallPrepare(call, port);
      if (prepared != 0) own.armed = false;
    });
    thread.join();
    return prepared == 0 ? 0 : 1;
  }
  return 2;
}
