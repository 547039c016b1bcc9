// The "41" reply and the raw template after it: the reply announces size
// and CRC, the raw bytes must match them. Input: the reply, a 0xFF byte,
// the raw bytes.
#include "fuzz/ReplyFuzzing.h"
#include "protocol/GetEvoucherOpMessage.h"

using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const zq::fuzz::Bytes reply = in.until(0xFF);
  const zq::fuzz::Bytes raw = in.rest();
  zq::fuzz::Library library;
  GetEvoucherOpMessage message(library.maintenance(), library.transaction());
  message.build();
  if (message.parse(reply)) {
    message.get_extra_data_size();
    message.parse_extra_data(raw);
  }
  return 0;
}
