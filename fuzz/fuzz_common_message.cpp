// The envelope every numbered reply shares: ID, return code, error text,
// and each field reader in an order the input chooses. Input: a count, that
// many reader choices, then the reply.
#include <string>

#include "fuzz/ReplyFuzzing.h"
#include "protocol/CommonMessage.h"

using namespace zq::app::protocols;

namespace {

class AnyFieldsMessage : public CommonMessage {
 public:
  AnyFieldsMessage(MaintenanceSubCtx& ctx, const zq::fuzz::Bytes& readers)
      : CommonMessage(ctx), readers(readers) {}
  std::string getId() override { return "20"; }

 protected:
  bool buildMessageSpecificPart() override { return true; }
  bool parseMessageSpecificPart() override {
    for (unsigned char choice : readers) {
      const size_t minimum = choice >> 4;
      uint32_t small = 0;
      uint64_t large = 0;
      int64_t signedValue = 0;
      std::string text;
      switch (choice % 13) {
        case 0: extractTwoByteInt(small, minimum); break;
        case 1: extractFourByteInt(small, minimum); break;
        case 2: extractEightByteInt(small, minimum); break;
        case 3: extractTwelveByteInt(large, minimum); break;
        case 4: extractSixteenByteInt(large, minimum); break;
        case 5: extractTwoByteHexInt(small, minimum); break;
        case 6: extractFourByteHexInt(small, minimum); break;
        case 7: extractTwelveByteSignedInt(signedValue, minimum); break;
        case 8: extractFunctionCode(small); break;
        case 9: extractString(text); break;
        case 10: extractString_Etx(text); break;
        case 11: checkArgumentPresence(); break;
        default:
          isNotFsOnIterator();
          isNotEtxOnIterator();
          isIteratorOnDataEnd();
          break;
      }
      if (readPosition > data.size()) __builtin_trap();
    }
    return true;
  }

 private:
  zq::fuzz::Bytes readers;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const zq::fuzz::Bytes readers = in.piece();
  const zq::fuzz::Bytes reply = in.rest();
  zq::fuzz::Library library;
  AnyFieldsMessage message(library.maintenance(), readers);
  message.build();
  message.parse(reply);
  return 0;
}
