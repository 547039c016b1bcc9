#include "protocol/MaintenanceSubCtx.h"

#include <array>

#include "core/CallbacksManager.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

// Raw statuses 0x00 to 0x81; the terminal leaves gaps in its numbering
// (0x10, 0x11, 0x13, 0x16 to 0x7F), and those are not recognised.
constexpr size_t kStatusTableSize = 0x82;

constexpr std::array<ecr_terminalStatus, kStatusTableSize> makeStatusTable() {
  std::array<ecr_terminalStatus, kStatusTableSize> table{};
  for (size_t raw = 0; raw < kStatusTableSize; ++raw) table[raw] = TERMINAL_STATUS_UNRECOGNISED;
  for (size_t raw = 0; raw <= 0x0F; ++raw) table[raw] = static_cast<ecr_terminalStatus>(raw);
  table[0x12] = TERMINAL_STATUS_PROMPT_16;
  table[0x14] = TERMINAL_STATUS_WAITING_FOR_AMOUNT;
  table[0x15] = TERMINAL_STATUS_ASK_FOR_SELECTION;
  table[0x80] = TERMINAL_STATUS_APPLICATION_ERROR;
  table[0x81] = TERMINAL_STATUS_RECONCILIATION_NEEDED;
  return table;
}

constexpr std::array<ecr_terminalStatus, kStatusTableSize> kStatusTable = makeStatusTable();

}  // namespace

MaintenanceSubCtx::MaintenanceSubCtx(tlv::TlvCtx& store)
    : SubCtxInterface(store),
      lastFunctionReturnCode(0),
      transactionStatus(TERMINAL_STATUS_UNRECOGNISED) {}

void MaintenanceSubCtx::setTid(const Bytes& tid) { setVector(TAG_TID, tid); }

void MaintenanceSubCtx::setMid(const Bytes& mid) { setVector(TAG_MID, mid); }

void MaintenanceSubCtx::setPromptNumber(uint32_t number) { addUint32AsTag(TAG_PROMPT_ID, number); }

void MaintenanceSubCtx::setExpectedDataCharacteristics(
    const ExpectedDataCharacteristics& characteristics) {
  addByte(TAG_PROMPT_MIN_ENTRY_LEN, characteristics.getMinimumCharacters());
  addByte(TAG_PROMPT_MAX_ENTRY_LEN, characteristics.getMaximumCharacters());
  addByte(TAG_PROMPT_ALLOWED_CHARACTERS,
          static_cast<unsigned char>(characteristics.getAllowedCharacters() & 0xFF));
  addByte(TAG_PROMPT_SPECIAL_CHARACTERS,
          static_cast<unsigned char>(characteristics.getAllowedSpecialCharacters() & 0xFF));
  setText(TAG_PROMPT_TEXT, characteristics.getPromptText());
}

void MaintenanceSubCtx::setAddress(const Bytes& line1, const Bytes& line2, const Bytes& line3) {
  setVector(TAG_TERMINAL_ADDRESS_1, line1);
  setVector(TAG_TERMINAL_ADDRESS_2, line2);
  setVector(TAG_TERMINAL_ADDRESS_3, line3);
}

utils::Optional<unsigned char> MaintenanceSubCtx::getCashRegisterNumber() const {
  return getByte(TAG_CASH_REGISTER_ID);
}

utils::Optional<unsigned char> MaintenanceSubCtx::getTerminalIndex() const {
  return getByte(TAG_TERMINAL_INDEX);
}

ecr_terminalStatus MaintenanceSubCtx::convertUint32ToTerminalStatus(uint32_t raw) {
  return raw < kStatusTableSize ? kStatusTable[raw] : TERMINAL_STATUS_UNRECOGNISED;
}

void MaintenanceSubCtx::setTransactionStatus(uint32_t raw) {
  const ecr_terminalStatus previous = transactionStatus;
  transactionStatus = convertUint32ToTerminalStatus(raw);
  if (transactionStatus != previous) {
    callbacks::CallbacksManager::getInstance().handleStatusChange(transactionStatus);
  }
}

void MaintenanceSubCtx::clearTerminalInformation() {
  logDevInfo("Clearing terminal information");
  removeTags({TAG_TERMINAL_ADDRESS_1, TAG_TERMINAL_ADDRESS_2, TAG_TERMINAL_ADDRESS_3, TAG_TID,
              TAG_MID});
}

}  // namespace zq::app::protocols
