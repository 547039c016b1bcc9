// The decline block of an unsuccessful receipt: the authorisation server's
// message, or a connection-problem phrase, word-wrapped; then the decline
// phrase. Standard, bilingual and fiscal form.
#pragma once

#include <initializer_list>
#include <string>

#include "printouts/documents/Extractor.h"
#include "zumbra_printout_types.h"

namespace zq::app::printouts {

class DeclineTextExtractor : public ExtractorWithBuildingMultipleLines,
                             public ExtractorWithCheckingTag {
 public:
  ~DeclineTextExtractor() override = default;

  virtual bool isStandardDeclineLineNecessary() const = 0;
  virtual void addStandardDeclineLineToPrintout() = 0;

  void addTextToPrintout(EcrCtx_s* ecr, const unsigned int& width);
  // The terminal's transaction result is 2.
  bool wasTransactionInterruptedByConnectionProblems() const;
};

// Reason lines in big inverted bold; the decline phrase after them in
// normal bold, or alone in big inverted bold.
class StandardDeclineTextExtractor : public DeclineTextExtractor {
 public:
  void addBuildedLine(const std::string& line) override;
  bool isStandardDeclineLineNecessary() const override;
  void addStandardDeclineLineToPrintout() override;

 protected:
  // Adds the decline phrases in the style that follows from linesBuilt.
  void addDeclinePhrases(std::initializer_list<pr_Dictionary> phrases);

  bool linesBuilt = false;
};

// The decline phrase in Polish, then in English.
class MultilangDeclineTextExtractor : public StandardDeclineTextExtractor {
 public:
  void addStandardDeclineLineToPrintout() override;
};

class FiscalDeclineTextExtractor : public DeclineTextExtractor {
 public:
  void addBuildedLine(const std::string& line) override;
  bool isStandardDeclineLineNecessary() const override;
  void addStandardDeclineLineToPrintout() override;

  using DeclineTextExtractor::addTextToPrintout;
  // Wraps on the fiscal width; dcc is the receipt's DCC flag.
  void addTextToPrintout(EcrCtx_s* ecr, bool dcc);

 protected:
  bool dcc = false;
};

}  // namespace zq::app::printouts
