#include "printouts/documents/Extractor.h"

#include <cstdint>

#include "core/Converters.h"
#include "core/zumbra_log.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

namespace {

constexpr size_t kTagRoom = 512;

ecr_status readRaw(EcrCtx_s* ecr, TlvTag tag, std::vector<unsigned char>& bytes) {
  uint8_t buffer[kTagRoom] = {};
  size_t length = sizeof buffer;
  const ecr_status status = ecr_readTag(ecr, tag, buffer, &length);
  if (status != ECR_OK) {
    logBusError("Unable to get tag 0x%08X, status 0x%02X", static_cast<unsigned>(tag),
                static_cast<unsigned>(status));
    return status;
  }
  // The reader never reports more than the room it was given; the cap keeps
  // a misbehaving one from taking us past the buffer.
  if (length > sizeof buffer) length = sizeof buffer;
  bytes.assign(buffer, buffer + length);
  return ECR_OK;
}

}  // namespace

ecr_status readTagValue(EcrCtx_s* ecr, TlvTag tag, std::string& text) {
  std::vector<unsigned char> bytes;
  const ecr_status status = readRaw(ecr, tag, bytes);
  if (status == ECR_OK) text.assign(bytes.begin(), bytes.end());
  return status;
}

bool ExtractorWithCheckingTag::checkTag(TlvTag tag) {
  std::vector<unsigned char> bytes;
  if (readRaw(ecr, tag, bytes) != ECR_OK) return false;
  raw.swap(bytes);
  return true;
}

bool ExtractorWithCheckingTag::checkStandardTag(TlvTag tag) {
  if (!checkTag(tag)) return false;
  value = utils::vectorToAscii(raw);
  return true;
}

bool ExtractorWithCheckingTag::checkHexTag(TlvTag tag) {
  if (!checkTag(tag)) return false;
  value = utils::hexToAscii(raw, false);
  return true;
}

std::string ExtractorWithGettingTag::getTag(TlvTag tag) const {
  std::string text;
  if (readTagValue(ecr, tag, text) != ECR_OK) return PrintDictionary::phrase(PR_DICT_UNKNOWN);
  return text;
}

void ExtractorWithHandlingMissingData::handleAttemptToReadData(ecr_status status) {
  if (status == ECR_OK) {
    handlePresentData();
  } else if (status == ECR_NO_DATA) {
    handleMissingData();
  } else {
    handleReadingDataError(status);
  }
}

void ExtractorWithBuildingMultipleLines::buildLines(const std::string& text, const size_t& width) {
  const std::vector<std::string> words = utils::csvToFields(text, ' ');
  std::string line;
  for (const std::string& word : words) {
    if (word.size() + line.size() > width) {
      addBuildedLine(line);
      line.clear();
    }
    line += word;
    line += ' ';
  }
  addBuildedLine(line);
}

}  // namespace zq::app::printouts
