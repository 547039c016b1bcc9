// One Talvoren message: the bytes that travel inside one link frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/MaintenanceSubCtx.h"

namespace zq::app::protocols {

class TalvorenMessageInterface {
 public:
  explicit TalvorenMessageInterface(MaintenanceSubCtx& maintenanceCtx)
      : maintenanceCtx(maintenanceCtx) {}
  TalvorenMessageInterface(const TalvorenMessageInterface&) = delete;
  TalvorenMessageInterface& operator=(const TalvorenMessageInterface&) = delete;
  virtual ~TalvorenMessageInterface() = default;

  // The request bytes; empty when the request cannot be built.
  virtual std::vector<unsigned char> build() = 0;
  virtual bool parse(const std::vector<unsigned char>& reply) = 0;
  // Raw bytes that some replies are followed by (outside any frame).
  virtual uint32_t get_extra_data_size();
  virtual bool parse_extra_data(const std::vector<unsigned char>& data);
  // Receive time-out in ms; 0 leaves the link's default.
  virtual uint32_t getTimeout() { return 0; }
  virtual std::string getId() = 0;

 protected:
  MaintenanceSubCtx& maintenanceCtx;
};

}  // namespace zq::app::protocols
