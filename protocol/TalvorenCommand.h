// One request/reply exchange with the terminal: build, send, receive,
// pause, parse.
#pragma once

#include <cstdint>
#include <memory>

#include "core/NonAssignable.h"
#include "link/CommResult.h"
#include "link/Link.h"
#include "protocol/TalvorenMessageInterface.h"

namespace zq::app::protocols {

class TalvorenCommand : public utils::NonAssignable {
 public:
  // How the request goes out and how long the terminal is given afterwards
  // before its reply is looked at.
  enum DelayCommand : uint32_t {
    NO_DELAY = 0,     // plain send, no pause
    SHORT_DELAY = 1,  // monitored send (a pending EOT handled first), 300 ms
    LONG_DELAY = 2,   // monitored send, 1500 ms
  };

  static constexpr uint32_t kShortDelayMs = 300;
  static constexpr uint32_t kLongDelayMs = 1500;

  // Takes ownership of the message.
  explicit TalvorenCommand(TalvorenMessageInterface* message) : message(message) {}

  comm::CommResult exchange(link::Link& link, DelayCommand mode);
  // Collects the raw bytes that follow some replies; no pause.
  comm::CommResult get_extra_data(link::Link& link, DelayCommand mode);

  TalvorenMessageInterface& getMessage() { return *message; }

 private:
  std::unique_ptr<TalvorenMessageInterface> message;
};

}  // namespace zq::app::protocols
