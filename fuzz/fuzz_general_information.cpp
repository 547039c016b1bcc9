// The "26" reply: address lines, merchant and terminal identifiers.
#include "fuzz/ReplyFuzzing.h"
#include "protocol/GeneralInformationMessage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Library library;
  library.parse<zq::app::protocols::GeneralInformationMessage>(zq::fuzz::Bytes(data, data + size));
  return 0;
}
