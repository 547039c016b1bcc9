// The details text of a transaction-data reply on its own: the card and the
// e-voucher layouts, the private TLV data (hex text) after the last field,
// and the date and time converters.
#include <string>

#include "fuzz/ReplyFuzzing.h"
#include "protocol/TransactionDetailsParser.h"

using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  zq::fuzz::Library library;
  library.transaction().setTransactionDetails(text);
  library.transaction().setEvoucherTransactionDetails(text);
  extractDate(text);
  extractTime(text);
  return 0;
}
