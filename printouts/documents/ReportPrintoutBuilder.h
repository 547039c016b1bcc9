// The report printouts of the terminal's own reports: summaries, transaction
// analyses and DCC analyses, printed in one call (short) or over several
// (long: start, entries, finish), in standard and fiscal form. A report
// builder takes a report kind (title, voids line), a shape (short or long),
// a layout (with or without logos) and an empty-line form.
#pragma once

#include <cstdint>

#include "printouts/documents/PrintoutBuilder.h"

namespace zq::app::printouts {

class ReportPrintoutBuilder : public virtual PrintoutBuilder {
 public:
  // The header: title, voids and version lines, the range of receipts.
  virtual uint32_t startReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  // Reports are never bilingual and never DCC printouts.
  void prepareBasicPrintoutInformation() override;
  void prepareTidAndMidPart() override;
  void handleAdditionalFooterPart() const override;
  // The range of receipt numbers the report covers.
  virtual void addSlips(PrintoutCtx_s* ctx, EcrCtx_s* ecr) const;
  virtual pr_Dictionary getTitle() const = 0;
  virtual void handleVoidsIncluded() const = 0;
  virtual void handleVersion() const = 0;
  // Fills date and time for the footer.
  virtual void prepareDateAndTime() = 0;
};

class LongReportPrintoutBuilder : public virtual ReportPrintoutBuilder {
 public:
  virtual uint32_t startLongReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  virtual uint32_t finishReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  virtual uint32_t handleReportEntry() const = 0;
  // Nothing checks that a start came first: an entry appends to whatever
  // the context holds.
  uint32_t addReportEntry(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  void handleVersion() const override;
};

// Reports of the terminal's report sections, dated when they are printed.
class NonbatchReportPrintoutBuilder : public virtual ReportPrintoutBuilder {
 public:
  void prepareDateAndTime() override;
  // The section the terminal context holds: its title in bold, its entries
  // and an empty line; nothing at all when the terminal sent no title.
  void handleStandardReportEntry() const;

 protected:
  // The entry of the long reports that print report sections.
  uint32_t addReportSection() const;
};

class ShortReportPrintoutBuilder : public virtual NonbatchReportPrintoutBuilder {
 public:
  uint32_t prepareShortReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr);
  void handleVersion() const override;
};

class SummaryPrintoutBuilder : public virtual NonbatchReportPrintoutBuilder {
 public:
  pr_Dictionary getTitle() const override { return PR_DICT_SUMMARY_TITLE; }
  void handleVoidsIncluded() const override;
};

class TransAnalPrintoutBuilder : public virtual NonbatchReportPrintoutBuilder {
 public:
  pr_Dictionary getTitle() const override { return PR_DICT_TRANSACTION_ANALYSIS_TITLE; }
  void handleVoidsIncluded() const override {}
  // The long analyses print a report section between their transactions.
  uint32_t addSummary(PrintoutCtx_s* ctx, EcrCtx_s* ecr);

 protected:
  // The entry of the long analyses: the transaction the terminal context holds.
  uint32_t addTransactionEntry() const;
};

class DccAnalPrintoutBuilder : public NonbatchReportPrintoutBuilder {
 public:
  pr_Dictionary getTitle() const override { return PR_DICT_DCC_ANALYSIS_TITLE; }
  void handleVoidsIncluded() const override {}
};

// Fiscal reports are laid out on the fiscal width from their start to their
// finish, and every line gets the generic fiscal line number at the finish.
class FiscalReportPrintoutBuilder : public PrintoutBuilderWithoutLogos,
                                    public virtual ReportPrintoutBuilder {
 public:
  // Saves the context's normal width, unless a fiscal report open on it
  // saved one already, and lays the report out on the fiscal width.
  uint32_t startReport(PrintoutCtx_s* ctx, EcrCtx_s* ecr) override;
  // Numbers every line and puts back the width saved on the context.
  void finishPrintout() override;
};

class StandardShortSummaryPrintoutBuilder : public SummaryPrintoutBuilder,
                                            public ShortReportPrintoutBuilder,
                                            public PrintoutBuilderWithLogos,
                                            public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "short summary"; }
};

class StandardShortTransAnalPrintoutBuilder : public TransAnalPrintoutBuilder,
                                              public ShortReportPrintoutBuilder,
                                              public PrintoutBuilderWithLogos,
                                              public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "transaction analysis"; }
};

class FiscalShortSummaryPrintoutBuilder : public ShortReportPrintoutBuilder,
                                          public SummaryPrintoutBuilder,
                                          public FiscalReportPrintoutBuilder,
                                          public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal short summary"; }
};

class FiscalShortTransAnalPrintoutBuilder : public FiscalReportPrintoutBuilder,
                                            public ShortReportPrintoutBuilder,
                                            public TransAnalPrintoutBuilder,
                                            public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal short transaction analysis"; }
};

class StandardLongSummaryPrintoutBuilder : public SummaryPrintoutBuilder,
                                           public LongReportPrintoutBuilder,
                                           public PrintoutBuilderWithLogos,
                                           public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "long summary"; }
  uint32_t handleReportEntry() const override { return addReportSection(); }
};

class FiscalLongSummaryPrintoutBuilder : public FiscalReportPrintoutBuilder,
                                         public LongReportPrintoutBuilder,
                                         public SummaryPrintoutBuilder,
                                         public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal long summary"; }
  uint32_t handleReportEntry() const override { return addReportSection(); }
};

class StandardLongTransAnalPrintoutBuilder : public TransAnalPrintoutBuilder,
                                             public LongReportPrintoutBuilder,
                                             public PrintoutBuilderWithLogos,
                                             public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "long transaction analysis"; }
  uint32_t handleReportEntry() const override { return addTransactionEntry(); }
};

class FiscalLongTransAnalPrintoutBuilder : public FiscalReportPrintoutBuilder,
                                           public TransAnalPrintoutBuilder,
                                           public LongReportPrintoutBuilder,
                                           public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal long transaction analysis"; }
  uint32_t handleReportEntry() const override { return addTransactionEntry(); }
};

class StandardDccAnalPrintoutBuilder : public DccAnalPrintoutBuilder,
                                       public LongReportPrintoutBuilder,
                                       public PrintoutBuilderWithLogos,
                                       public StandardEmptyLine {
 public:
  const char* getPrintoutName() const override { return "transaction DCC analysis"; }
  uint32_t handleReportEntry() const override { return addReportSection(); }
};

class FiscalDccAnalPrintoutBuilder : public DccAnalPrintoutBuilder,
                                     public FiscalReportPrintoutBuilder,
                                     public LongReportPrintoutBuilder,
                                     public FiscalEmptyLine {
 public:
  const char* getPrintoutName() const override { return "fiscal transaction DCC analysis"; }
  uint32_t handleReportEntry() const override { return addReportSection(); }
};

}  // namespace zq::app::printouts
