// The extractor bases: an extractor reads the terminal context only through
// the exported readers and hands finished texts to the line adders. The
// mixins reach Extractor as a virtual base, so an extractor composed of
// several of them holds exactly one terminal context.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "zumbra_ecr.h"

namespace zq::app::printouts {

class Extractor {
 public:
  virtual ~Extractor() = default;

 protected:
  Extractor() = default;

  EcrCtx_s* ecr = nullptr;  // not owned; every operation stores the one it was handed
};

// Reads one tag through ecr_readTag. A failed read logs the tag and status
// and keeps raw and value as they were, so callers fall back to their own
// default.
class ExtractorWithCheckingTag : public virtual Extractor {
 public:
  ~ExtractorWithCheckingTag() override = default;

  bool checkTag(TlvTag tag);
  // The bytes as text, one character per byte.
  bool checkStandardTag(TlvTag tag);
  // The bytes as upper-case hexadecimal, leading zeros kept.
  bool checkHexTag(TlvTag tag);

 protected:
  std::string value;
  std::vector<unsigned char> raw;
};

class ExtractorWithGettingTag : public virtual Extractor {
 public:
  ~ExtractorWithGettingTag() override = default;

  // The tag's bytes as text, or the unknown phrase when it cannot be read.
  std::string getTag(TlvTag tag) const;
};

// For values whose absence means something else than a read error.
class ExtractorWithHandlingMissingData : public virtual Extractor {
 public:
  ~ExtractorWithHandlingMissingData() override = default;

  virtual void handlePresentData() = 0;
  virtual void handleMissingData() = 0;
  virtual void handleReadingDataError(ecr_status status) = 0;

  // Exactly one handler: present for ECR_OK, missing for ECR_NO_DATA, the
  // error handler for anything else.
  void handleAttemptToReadData(ecr_status status);
};

// The word wrap of long terminal texts.
class ExtractorWithBuildingMultipleLines : public virtual Extractor {
 public:
  ~ExtractorWithBuildingMultipleLines() override = default;

  virtual void addBuildedLine(const std::string& line) = 0;

  // Words are split at every single blank; each emitted line ends with a
  // blank after each of its words and holds at most width characters before
  // that last blank. A word longer than width stands alone, never split.
  void buildLines(const std::string& text, const size_t& width);
};

// Reads tag with the 512-byte room every tag read of the printouts uses;
// logs a failure and answers its status.
ecr_status readTagValue(EcrCtx_s* ecr, TlvTag tag, std::string& text);

}  // namespace zq::app::printouts
