// Parsers of the details text of a transaction-data reply: comma-separated
// positional fields, each stored under its row's tag, and for card
// transactions the terminal's private BER-TLV data (hex text) after the last
// field.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/TlvCtx.h"

namespace zq::app::protocols {

// Packed BCD YYMMDD of a "YYYY-MM-DD" text (separators not checked), HHMMSS
// of a "HH:MM:SS" text; empty for a text of another length or with a
// non-digit.
std::vector<unsigned char> extractDate(const std::string& text);
std::vector<unsigned char> extractTime(const std::string& text);

// One positional field: its tag, how many leading characters of the field
// are not part of the value, and how the text becomes the stored bytes (an
// empty result leaves the tag absent).
struct TagParsingData {
  tlv::TlvTag tag;
  size_t skip;
  std::vector<unsigned char> (*converter)(const std::string& text);
};

class TransactionDetailsParser {
 public:
  TransactionDetailsParser(tlv::TlvCtx& store, const std::string& details)
      : store(store), details(details), currentPosition(0) {}
  TransactionDetailsParser(const TransactionDetailsParser&) = delete;
  TransactionDetailsParser& operator=(const TransactionDetailsParser&) = delete;
  virtual ~TransactionDetailsParser() = default;

  virtual void parseDetails();

  // Handles the field at the current position; true when a ',' follows it
  // (the position is then just past that ',').
  bool tryToHandleNewRegularTag(const TagParsingData& row);
  // The rest of the text from the current position, as private TLV data.
  void handlePrivateTags();

  std::string getPrivateData() const { return privateData; }

 protected:
  // Handles the rows in order; true when every one of them was followed by
  // a ','.
  bool handleRows(const TagParsingData* rows, size_t count);

  tlv::TlvCtx& store;
  std::string details;
  size_t currentPosition;
  std::string privateData;
};

class EvoucherTransactionDetailsParser : public TransactionDetailsParser {
 public:
  using TransactionDetailsParser::TransactionDetailsParser;
  void parseDetails() override;
};

}  // namespace zq::app::protocols
