// The additional cardset lines of a transaction receipt: up to five texts
// the terminal sends with a card's cardset, printed as they are.
#pragma once

#include <string>

#include "zumbra_ecr.h"

namespace zq::app::printouts {

class AdditionalCardsetLineInterface {
 public:
  explicit AdditionalCardsetLineInterface(EcrCtx_s* ecr) : ecr(ecr) {}
  virtual ~AdditionalCardsetLineInterface() = default;

  virtual void addLine(const std::string& text) const = 0;

  // The values present, in tag order; one that cannot be read is left out.
  void handleCardsetLines() const;
  void handleSingleCardsetLine(TlvTag tag) const;

 protected:
  EcrCtx_s* ecr;  // not owned
};

class StandardCardsetLine : public AdditionalCardsetLineInterface {
 public:
  using AdditionalCardsetLineInterface::AdditionalCardsetLineInterface;
  void addLine(const std::string& text) const override;
};

class FiscalCardsetLine : public AdditionalCardsetLineInterface {
 public:
  using AdditionalCardsetLineInterface::AdditionalCardsetLineInterface;
  void addLine(const std::string& text) const override;
};

}  // namespace zq::app::printouts
