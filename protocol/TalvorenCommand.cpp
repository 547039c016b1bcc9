#include "protocol/TalvorenCommand.h"

#include <vector>

#include "core/Sleep.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

using comm::CommResult;

comm::CommResult TalvorenCommand::exchange(link::Link& link, DelayCommand mode) {
  std::vector<unsigned char> bytes;
  if (message != nullptr) bytes = message->build();
  if (bytes.empty()) {
    logDevError("Unable to build Talvoren message");
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_ARGUMENT_MISSING,
                      "Unable to build Talvoren message");
  }
  const std::string id = message->getId();

  CommResult sent = mode == NO_DELAY ? link.send(bytes) : link.sendWithMonitor(bytes);
  if (!sent.isOk()) {
    logDevError("Unable to sent Talvoren message %s", id.c_str());
    return sent;
  }

  CommResult received = link.recv(bytes, message->getTimeout());
  // The terminal needs its breath after a monitored request whether or not
  // its reply arrived; the next request must not catch it mid-update.
  if (mode == SHORT_DELAY) {
    utils::sleep(kShortDelayMs);
  } else if (mode == LONG_DELAY) {
    utils::sleep(kLongDelayMs);
  }
  if (!received.isOk()) {
    logDevError("Unable to receive Talvoren response for message %s", id.c_str());
    return received;
  }

  if (!message->parse(bytes)) {
    logDevError("Unable to parse Talvoren response for message %s", id.c_str());
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED,
                      "Unable to parse POS response");
  }
  return CommResult(CommResult::DEVICE_OK);
}

comm::CommResult TalvorenCommand::get_extra_data(link::Link& link, DelayCommand) {
  if (message == nullptr) {
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_ARGUMENT_MISSING,
                      "Unable to build Talvoren message");
  }
  const uint32_t count = message->get_extra_data_size();
  std::vector<unsigned char> raw;
  CommResult received = link.recv_raw(raw, count, message->getTimeout());
  if (!received.isOk()) {
    logDevError("Unable to receive extra data");
    return received;
  }
  if (!message->parse_extra_data(raw)) {
    logDevError("Unable to parse extra data");
    return CommResult(CommResult::DEVICE_ERROR, comm::errors::DEVICE_DATA_CORRUPTED,
                      "Unable to parse received data");
  }
  return CommResult(CommResult::DEVICE_OK);
}

}  // namespace zq::app::protocols
