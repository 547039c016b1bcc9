// Saves the engine's process-wide state when a test starts and puts it back
// when the test ends: phrases, fiscal entries, both DCC switches, the address
// and signature switches and the binding of the line adders. Test cases run
// in their own processes under CTest; this keeps them independent when the
// program runs them all in one.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"

class EngineState {
 public:
  static constexpr uint32_t kDefaultPhraseCount = 150;
  static constexpr uint32_t kDefaultFiscalCount = 43;

  EngineState() {
    auto& dictionary = zq::app::printouts::PrintDictionary::getInstance();
    auto& fiscal = zq::app::printouts::FiscalFormat::getInstance();
    dictionary.setDcc(false);
    fiscal.setDcc(false);
    for (uint32_t id = 0; id < kDefaultPhraseCount; ++id) {
      phrases_[id] = dictionary.get(static_cast<pr_Dictionary>(id));
    }
    for (uint32_t id = 0; id < kDefaultFiscalCount; ++id) {
      fiscalLines_[id] = fiscal.getLine(static_cast<pr_FiscalFormatId>(id));
    }
  }

  ~EngineState() {
    auto& dictionary = zq::app::printouts::PrintDictionary::getInstance();
    auto& fiscal = zq::app::printouts::FiscalFormat::getInstance();
    dictionary.setDcc(false);
    fiscal.setDcc(false);
    for (const auto& p : phrases_) dictionary.set(static_cast<pr_Dictionary>(p.first), p.second);
    for (const auto& f : fiscalLines_) fiscal.set(static_cast<pr_FiscalFormatId>(f.first), f.second);
    PrintoutCtx_s::hideAddress_ = false;
    PrintoutCtx_s::useSignatureVerifiedLine_ = false;
    PrintoutCtx_s::bindLineAdders(nullptr);
  }

  EngineState(const EngineState&) = delete;
  EngineState& operator=(const EngineState&) = delete;

 private:
  std::map<uint32_t, std::string> phrases_;
  std::map<uint32_t, pr_FiscalFormatLine> fiscalLines_;
};
