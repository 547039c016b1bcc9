// Line adders: one formatter, one style and the context the lines go to. The
// twenty process-wide adders stand behind the add...LineToCtx operations of
// PrintoutCtx_s.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/LineFormatter.h"
#include "printouts/engine/PrintoutCtx.h"

namespace zq::app::printouts {

class LineAdderInterface {
 public:
  virtual ~LineAdderInterface() = default;
  virtual void setCtx(PrintoutCtx_s* ctx) = 0;
  virtual void setAdditionalLineParameters(pr_Line& line) const = 0;

  // An all-zero record with id, the text (at most 64 bytes, then zeros) and
  // this adder's style.
  pr_Line prepareLine(const std::string& text, const uint32_t& id) const;

  PrintoutCtx_s* getCtx() const { return ctx; }

 protected:
  PrintoutCtx_s* ctx = nullptr;  // not owned; lines are dropped while null
};

// Styles. The record is all zero when a style is applied.

class SimpleLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class BoldLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class BigLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class BigBoldLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class NegativeLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class NegativeBigBoldLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

class SmallLineAdder : public virtual LineAdderInterface {
 public:
  void setAdditionalLineParameters(pr_Line& line) const override;
};

// Formatter holders.

// Standard lines are numbered by their index in the context, and their
// formatter takes its width from the same context.
template <typename F>
class StandardPrintoutLineAdder : public virtual LineAdderInterface {
 public:
  void setCtx(PrintoutCtx_s* ctx) override {
    this->ctx = ctx;
    formatter.setCtx(ctx);
  }

  void addLine(const RawLineTexts& texts) {
    if (ctx == nullptr) return;
    const std::string text = formatter.getFormattedString(texts);
    ctx->add(prepareLine(text, static_cast<uint32_t>(ctx->lines.size())));
  }

  F formatter;
};

// Fiscal lines carry the fiscal printer's line number of their fiscal line id;
// their width does not depend on a context.
template <typename F>
class FiscalPrintoutLineAdder : public virtual LineAdderInterface {
 public:
  void setCtx(PrintoutCtx_s* ctx) override { this->ctx = ctx; }

  void addLine(const RawLineTexts& texts, const pr_FiscalFormatId& fmt) {
    if (ctx == nullptr) return;
    const std::string text = formatter.getFormattedString(texts);
    ctx->add(prepareLine(text, FiscalFormat::getInstance().getId(fmt)));
  }

  F formatter;
};

// Concrete adders: a holder's binding and a style.

#define ZQ_LINE_ADDER_OVERRIDES(Style, Holder)                                      \
  void setCtx(PrintoutCtx_s* ctx) override { Holder::setCtx(ctx); }                  \
  void setAdditionalLineParameters(pr_Line& line) const override {                   \
    Style::setAdditionalLineParameters(line);                                        \
  }

template <typename F>
class StandardSimpleLineAdder : public SimpleLineAdder, public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(SimpleLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardBoldLineAdder : public BoldLineAdder, public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(BoldLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardBigLineAdder : public StandardPrintoutLineAdder<F>, public BigLineAdder {
 public:
  ZQ_LINE_ADDER_OVERRIDES(BigLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardBigBoldLineAdder : public BigBoldLineAdder, public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(BigBoldLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardNegativeLineAdder : public NegativeLineAdder, public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(NegativeLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardNegativeBigBoldLineAdder : public NegativeBigBoldLineAdder,
                                         public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(NegativeBigBoldLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class StandardSmallLineAdder : public SmallLineAdder, public StandardPrintoutLineAdder<F> {
 public:
  ZQ_LINE_ADDER_OVERRIDES(SmallLineAdder, StandardPrintoutLineAdder<F>)
};

template <typename F>
class FiscalSimpleLineAdder : public FiscalPrintoutLineAdder<F>, public SimpleLineAdder {
 public:
  ZQ_LINE_ADDER_OVERRIDES(SimpleLineAdder, FiscalPrintoutLineAdder<F>)
};

#undef ZQ_LINE_ADDER_OVERRIDES

// The twenty process-wide adders, built unbound on their first use and left
// alive at exit, as every process-wide object of the library is.
struct LineAdders {
  FiscalSimpleLineAdder<FiscalLeftFormatter> fiscalSimpleLeftLineAdder;
  FiscalSimpleLineAdder<FiscalRightFormatter> fiscalSimpleRightLineAdder;
  FiscalSimpleLineAdder<FiscalCenterFormatter> fiscalSimpleCenterLineAdder;
  FiscalSimpleLineAdder<FiscalTwoTextsFormatter> fiscalSimpleTwoTextsLineAdder;
  FiscalSimpleLineAdder<FiscalEmptyFormatter> fiscalSimpleUnformattedLineAdder;
  StandardSimpleLineAdder<StandardLeftFormatter> standardSimpleLeftLineAdder;
  StandardBigLineAdder<BigLeftFormatter> standardBigLeftLineAdder;
  StandardBoldLineAdder<StandardLeftFormatter> standardBoldLeftLineAdder;
  StandardSimpleLineAdder<StandardRightFormatter> standardSimpleRightLineAdder;
  StandardBigBoldLineAdder<BigCenterFormatter> standardBigBoldCenterLineAdder;
  StandardBigLineAdder<BigCenterFormatter> standardBigCenterLineAdder;
  StandardBoldLineAdder<StandardCenterFormatter> standardBoldCenterLineAdder;
  StandardNegativeBigBoldLineAdder<BigCenterFormatter> standardNegativeBigBoldCenterLineAdder;
  StandardNegativeLineAdder<StandardCenterFormatter> standardNegativeCenterLineAdder;
  StandardSimpleLineAdder<StandardCenterFormatter> standardSimpleCenterLineAdder;
  StandardSmallLineAdder<SmallCenterFormatter> standardSmallCenterLineAdder;
  StandardBoldLineAdder<StandardTwoTextsFormatter> standardBoldTwoTextsLineAdder;
  StandardSimpleLineAdder<StandardTwoTextsFormatter> standardSimpleTwoTextsLineAdder;
  StandardSimpleLineAdder<StandardThreeTextsFormatter> standardSimpleThreeTextsLineAdder;
  StandardSimpleLineAdder<StandardEmptyFormatter> standardSimpleUnformattedLineAdder;
};
LineAdders& lineAdders();

constexpr std::size_t kLineAdderCount = 20;
// All twenty, in the order above: the order in which contexts bind them.
const std::array<LineAdderInterface*, kLineAdderCount>& allLineAdders();

}  // namespace zq::app::printouts
