// The terminal's identity at the head of every printout: terminal ID,
// merchant ID and the three address lines. They come from the terminal's
// general information; when the protocol store does not hold them yet, the
// extractor asks the terminal for it once and reads again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "printouts/documents/Extractor.h"

namespace zq::app::printouts {

class ExtractorWithReadingTerminalInfo : public ExtractorWithHandlingMissingData {
 public:
  ~ExtractorWithReadingTerminalInfo() override = default;

  // Asks the terminal for its general information, then reads once more.
  void handleMissingData() override;
  // "Unable to read <data type name>, status ..."; nothing is printed.
  void handleReadingDataError(ecr_status status) override;
  virtual ecr_status tryToReadData() = 0;
  virtual const char* getDataTypeName() const = 0;

  // Reads through ecr and hands the outcome to its handler.
  void handleExtractedData(EcrCtx_s* ecr);
};

// A terminal or merchant ID: a field of Size bytes and its reader.
template <size_t Size>
class ExtractorWithReadingIdentifier : public ExtractorWithReadingTerminalInfo {
 public:
  void handlePresentData() override;

  // The ID, empty when it cannot be had.
  std::string getData(EcrCtx_s* ecr);

 protected:
  using Reader = ecr_status (*)(EcrCtx_s* ecr, uint8_t* buffer, size_t* length);
  ecr_status readWith(Reader reader);

 private:
  std::string id;
  uint8_t raw[Size] = {};
};

class TidExtractor : public ExtractorWithReadingIdentifier<8> {
 public:
  ecr_status tryToReadData() override { return readWith(ecr_readTerminalId); }
  const char* getDataTypeName() const override { return "terminal ID"; }
};

class MidExtractor : public ExtractorWithReadingIdentifier<15> {
 public:
  ecr_status tryToReadData() override { return readWith(ecr_readMerchantId); }
  const char* getDataTypeName() const override { return "merchant ID"; }
};

// The three address lines as standard left lines; all three or none.
class AddressExtractor : public ExtractorWithReadingTerminalInfo {
 public:
  void handlePresentData() override;
  ecr_status tryToReadData() override;
  const char* getDataTypeName() const override { return "terminal address"; }

 protected:
  static constexpr size_t kLineRoom = 65;
  // A line up to its first zero byte, never past its buffer.
  std::string lineText(size_t index) const;

  uint8_t addressLines[3][kLineRoom] = {};
};

// The same lines as fiscal left lines.
class FiscalAddressExtractor : public AddressExtractor {
 public:
  void handlePresentData() override;
};

}  // namespace zq::app::printouts
