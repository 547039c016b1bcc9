// The "20" reply: status, prompt number and the expected-data
// characteristics text.
#include "fuzz/ReplyFuzzing.h"
#include "protocol/StatusReadMessage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Library library;
  const zq::fuzz::Bytes reply(data, data + size);
  library.parse<zq::app::protocols::StatusReadMessage>(reply);
  // A second reply over what the first one left.
  library.parse<zq::app::protocols::StatusReadMessage>(reply);
  return 0;
}
