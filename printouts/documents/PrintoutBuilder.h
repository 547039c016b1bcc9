// The frame every printout is built in: the header (logo, address, terminal
// and merchant IDs) and the footer (date and time, closing lines, logo), with
// the parts a concrete builder fills in. A concrete builder takes one base of
// each kind below; they all reach PrintoutBuilder as a virtual base, so a
// builder holds one set of contexts and texts.
#pragma once

#include <cstdint>
#include <string>

#include "printouts/engine/PrintoutCtx.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

namespace zq::app::printouts {

// The codes of the printout functions are the public pr_Status values; they
// are named in this namespace too, where the printouts' code looks for them.
using ::PRINTOUT_CLOSING_DAY_REFUSED;
using ::PRINTOUT_NO_MORE_LINES;
using ::PRINTOUT_NULL_CTX;
using ::PRINTOUT_OK;
using ::PRINTOUT_VALUE_REFUSED;

class PrintoutBuilder {
 public:
  virtual ~PrintoutBuilder() = default;

  // Binds the builder, and the line adders, to the contexts of this call.
  // Both must be given: PRINTOUT_NULL_CTX otherwise, with nothing changed.
  uint32_t init(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  // The header; empties the printout first.
  uint32_t preparePrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  // The footer; the concrete builder fills date and time before.
  virtual void finishPrintout();

  virtual void addEmptyLine() const = 0;
  // Sets the context's dcc and multilang flags for this printout.
  virtual void prepareBasicPrintoutInformation() = 0;
  virtual void handleHeaderLogo() = 0;
  virtual void handleFooterLogo() = 0;
  virtual void handleAddressLines() const = 0;
  virtual void prepareTidAndMidPart() = 0;
  virtual void handleDateAndTimePart() const = 0;
  virtual void handleAdditionalFooterPart() const = 0;
  // The printout's name in log lines.
  virtual const char* getPrintoutName() const = 0;

 protected:
  PrintoutBuilder() = default;
  PrintoutBuilder(const PrintoutBuilder&) = delete;
  PrintoutBuilder& operator=(const PrintoutBuilder&) = delete;

  // Not owned. A builder that lives for the process keeps them, and the
  // texts below, from its last call until its next init.
  PrintoutCtx_s* ctx = nullptr;
  EcrCtx_s* ecr = nullptr;
  std::string tid;
  std::string mid;
  std::string date;
  std::string time;
};

// Standard printouts: logos, address and date and time in the normal font.
class PrintoutBuilderWithLogos : public virtual PrintoutBuilder {
 public:
  // A picture line on the builder's own context.
  void addLogoToPrintout(pr_PictureType type);
  void handleHeaderLogo() override;
  void handleFooterLogo() override;
  void handleAddressLines() const override;
  // Date and time on one line when they fit, else one under the other; a
  // bilingual printout repeats them with the English labels.
  void handleDateAndTimePart() const override;
};

// Fiscal-printer printouts: no logos, address and date and time as fiscal
// lines.
class PrintoutBuilderWithoutLogos : public virtual PrintoutBuilder {
 public:
  void handleHeaderLogo() override {}
  void handleFooterLogo() override {}
  void handleAddressLines() const override;
  void handleDateAndTimePart() const override;
};

// A line of blanks of the normal width.
class StandardEmptyLine : public virtual PrintoutBuilder {
 public:
  void addEmptyLine() const override;
};

// An empty fiscal line with the generic line number.
class FiscalEmptyLine : public virtual PrintoutBuilder {
 public:
  void addEmptyLine() const override;
};

}  // namespace zq::app::printouts
