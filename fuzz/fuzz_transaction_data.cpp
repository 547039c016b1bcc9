// The transaction-data replies: end data "22", one transaction of the batch
// "24", the last transaction "27" and one of the transaction analysis "34",
// with the details text and private data inside them. Each message reads
// only a reply with its own ID, so every input reaches the one it names.
#include "fuzz/ReplyFuzzing.h"
#include "protocol/EndDataReadMessage.h"
#include "protocol/LastTransactionDataMessage.h"
#include "protocol/SingleTranFromBatchMessage.h"
#include "protocol/TransAnalTransDetails.h"

using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Library library;
  const zq::fuzz::Bytes reply(data, data + size);
  TransactionSubCtx& transaction = library.transaction();
  library.parse<EndDataReadMessage>(reply, transaction);
  library.parse<SingleTranFromBatchMessage>(reply, transaction);
  library.parse<LastTransactionDataMessage>(reply, transaction);
  library.parse<TransAnalTransDetails>(reply, transaction);
  return 0;
}
