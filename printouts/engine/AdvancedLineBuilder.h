// Line builders: put two or three texts on one line when they fit with a
// blank between them, and on two lines when they do not.
#pragma once

#include "printouts/engine/RawLineTexts.h"

namespace zq::app::printouts {

class AdvancedLineBuilder {
 public:
  virtual ~AdvancedLineBuilder() = default;
  // Takes a copy of texts, then adds one line or two through the standard
  // line adders. Printouts pass the context's normal length as width.
  void buildLine(const RawLineTexts& texts, const unsigned long& width);

 protected:
  AdvancedLineBuilder() = default;
  AdvancedLineBuilder(const AdvancedLineBuilder&) = delete;
  AdvancedLineBuilder& operator=(const AdvancedLineBuilder&) = delete;

  virtual bool doesTextsFit(const unsigned long& width) const = 0;
  virtual void addSingleLine() const = 0;
  virtual void addTwoLines() = 0;

  RawLineTexts texts;
};

// Two texts, or both left-aligned on two lines.
class TwoEntryLineBrokenBuilder : public AdvancedLineBuilder {
 public:
  static TwoEntryLineBrokenBuilder& get();

 protected:
  bool doesTextsFit(const unsigned long& width) const override;
  void addSingleLine() const override;
  void addTwoLines() override;
};

// Two texts, or the first left-aligned and the second right-aligned below it.
class TwoEntryLineOverlapBuilder : public AdvancedLineBuilder {
 public:
  static TwoEntryLineOverlapBuilder& get();

 protected:
  bool doesTextsFit(const unsigned long& width) const override;
  void addSingleLine() const override;
  void addTwoLines() override;
};

// Three texts, or the first alone and the other two in the next line.
class ThreeEntryLineBuilder : public AdvancedLineBuilder {
 public:
  static ThreeEntryLineBuilder& get();

 protected:
  bool doesTextsFit(const unsigned long& width) const override;
  void addSingleLine() const override;
  void addTwoLines() override;
};

}  // namespace zq::app::printouts
