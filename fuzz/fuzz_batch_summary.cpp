// The "25" reply: the twelve fields of the batch summary.
#include "fuzz/ReplyFuzzing.h"
#include "protocol/BatchSummaryReadMessage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Library library;
  library.parse<zq::app::protocols::BatchSummaryReadMessage>(zq::fuzz::Bytes(data, data + size),
                                                             library.report());
  return 0;
}
