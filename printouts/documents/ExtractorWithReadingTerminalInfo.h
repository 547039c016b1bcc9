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
  virtual ecr_status tryToReadData() = 0;
  virtual const char* getDataTypeName() const = 0;

  // Reads through ecr and hands the outcome to its handler.
  void handleExtractedData(EcrCtx_s* ecr);
};

class TidExtractor : public ExtractorWithReadingTerminalInfo {
 public:
  void handlePresentData() override;
  void handleReadingDataError(ecr_status status) override;
  ecr_status tryToReadData() override;
  const char* getDataTypeName() const override { return "terminal ID"; }

  // The terminal ID, empty when it cannot be had.
  std::string getData(EcrCtx_s* ecr);

 private:
  std::string tid;
  uint8_t rawTid[8] = {};
};

class MidExtractor : public ExtractorWithReadingTerminalInfo {
 public:
  void handlePresentData() override;
  void handleReadingDataError(ecr_status status) override;
  ecr_status tryToReadData() override;
  const char* getDataTypeName() const override { return "merchant ID"; }

  // The merchant ID, empty when it cannot be had.
  std::string getData(EcrCtx_s* ecr);

 private:
  std::string mid;
  uint8_t rawMid[15] = {};
};

// The three address lines as standard left lines; all three or none.
class AddressExtractor : public ExtractorWithReadingTerminalInfo {
 public:
  void handlePresentData() override;
  void handleReadingDataError(ecr_status status) override;
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
