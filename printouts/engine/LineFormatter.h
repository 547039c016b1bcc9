// Line formatters: each one lays the texts of a line out on a width. The
// width source (a context's normal, small or big length, or the fiscal width)
// and the layout are separate mixins joined in the concrete formatters; a
// layout reads the width through the complete object while it formats, so a
// line is laid out on the width in force when it is added.
#pragma once

#include <cstdint>
#include <string>

#include "printouts/engine/RawLineTexts.h"

struct PrintoutCtx_s;

namespace zq::app::printouts {

class LineFormatterInterface {
 public:
  virtual ~LineFormatterInterface() = default;
  // Never fails: texts longer than the width are cut.
  virtual std::string getFormattedString(const RawLineTexts& texts) const = 0;
  virtual uint32_t getLineWidth() const = 0;
};

// Width sources.

class LineFormatterWithNonfiscalWidth : public virtual LineFormatterInterface {
 public:
  void setCtx(PrintoutCtx_s* ctx) { this->ctx = ctx; }

 protected:
  PrintoutCtx_s* ctx = nullptr;  // not owned; unbound formatters have width 0
};

class LineFormatterWithStandardWidth : public LineFormatterWithNonfiscalWidth {
 public:
  uint32_t getLineWidth() const override;
};

class LineFormatterWithSmallWidth : public LineFormatterWithNonfiscalWidth {
 public:
  uint32_t getLineWidth() const override;
};

class LineFormatterWithBigWidth : public LineFormatterWithNonfiscalWidth {
 public:
  uint32_t getLineWidth() const override;
};

class LineFormatterWithFiscalCustomWidth : public virtual LineFormatterInterface {
 public:
  uint32_t getLineWidth() const override;
};

// Layouts.

class LeftFormatter : public virtual LineFormatterInterface {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

class RightFormatter : public virtual LineFormatterInterface {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

class CenterFormatter : public virtual LineFormatterInterface {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

// text1 exactly as given.
class EmptyFormatter : public virtual LineFormatterInterface {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

// text1 at the left margin, text2 ending at the right one; when they do not
// fit, the middle of "text1 text2".
class TwoTextsFormatter : public virtual CenterFormatter {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

// text1 on the left, text2 and text3 in the right half.
class ThreeTextsFormatter : public virtual CenterFormatter {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
  // a and b on width, or the middle of "a b" on the formatter's own width.
  virtual std::string getTwoFormattedTexts(const std::string& a, const std::string& b,
                                           uint32_t width) const;
};

// Concrete formatters.

class StandardLeftFormatter : public LeftFormatter, public LineFormatterWithStandardWidth {};
class StandardRightFormatter : public RightFormatter, public LineFormatterWithStandardWidth {};
class StandardCenterFormatter : public LineFormatterWithStandardWidth, public CenterFormatter {};
class StandardEmptyFormatter : public EmptyFormatter, public LineFormatterWithStandardWidth {};
class StandardTwoTextsFormatter : public TwoTextsFormatter, public LineFormatterWithStandardWidth {};
class StandardThreeTextsFormatter : public ThreeTextsFormatter, public LineFormatterWithStandardWidth {};
class BigLeftFormatter : public LeftFormatter, public LineFormatterWithBigWidth {};
class BigCenterFormatter : public CenterFormatter, public LineFormatterWithBigWidth {};
class SmallCenterFormatter : public LineFormatterWithSmallWidth, public CenterFormatter {};
class FiscalLeftFormatter : public LineFormatterWithFiscalCustomWidth, public LeftFormatter {};
class FiscalRightFormatter : public RightFormatter, public LineFormatterWithFiscalCustomWidth {};
class FiscalCenterFormatter : public CenterFormatter, public LineFormatterWithFiscalCustomWidth {};
class FiscalEmptyFormatter : public EmptyFormatter, public LineFormatterWithFiscalCustomWidth {};

// text1, the record separator 0x1E, text2: the fiscal printer splits the line
// itself, so no width applies.
class FiscalTwoTextsFormatter : public LineFormatterWithFiscalCustomWidth,
                                public virtual LineFormatterInterface {
 public:
  std::string getFormattedString(const RawLineTexts& texts) const override;
};

}  // namespace zq::app::printouts
