// "41": fetches the template file of one e-voucher operator. The reply
// frame announces the file's size and CRC; the file itself follows as raw
// bytes outside any frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/CommonMessage.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class GetEvoucherOpMessage : public CommonMessage {
 public:
  GetEvoucherOpMessage(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx)
      : CommonMessage(maintenanceCtx),
        transactionCtx(transactionCtx),
        resultCode(0),
        fileSize(0),
        fileCrc(0) {}

  std::string getId() override { return "41"; }
  // The announced size of the raw template that follows the reply.
  uint32_t get_extra_data_size() override { return fileSize; }
  // Checks the template against the announced size and CRC and stores it.
  bool parse_extra_data(const std::vector<unsigned char>& raw) override;

 protected:
  // FS and the stored operator identifier (1 to 4 bytes).
  bool buildMessageSpecificPart() override;
  bool parseMessageSpecificPart() override;

 private:
  TransactionSubCtx& transactionCtx;
  uint32_t resultCode;
  uint32_t fileSize;
  uint32_t fileCrc;
  std::string operatorName;
  std::string templateText;
};

}  // namespace zq::app::protocols
