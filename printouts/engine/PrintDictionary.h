// The phrases printouts print: labels, titles, transaction names, footers,
// the decimal separator and the default currency, in Windows-1250.
#pragma once

#include <map>
#include <string>

#include "zumbra_printout_types.h"

namespace zq::app::printouts {

class PrintDictionary {
 public:
  // The process-wide dictionary, filled with the built-in phrases on first use.
  static PrintDictionary& getInstance();
  // How printouts read a phrase: getInstance()[id].
  static std::string phrase(pr_Dictionary id);

  virtual ~PrintDictionary();

  // The current text of id, read through the DCC remap while the switch is on.
  // An id without a text reads as empty and is kept with that empty text.
  std::string get(pr_Dictionary id);
  std::string operator[](pr_Dictionary id) { return get(id); }

  // Stores text under id exactly; the DCC switch never redirects a write.
  void set(pr_Dictionary id, const std::string& text);
  // On while a DCC receipt, or the English part of a bilingual one, prints.
  void setDcc(bool on);

 private:
  // The English id read for id while the DCC switch is on; id itself when it
  // has no English counterpart.
  static pr_Dictionary dccVariant(pr_Dictionary id);

  PrintDictionary();
  PrintDictionary(const PrintDictionary&) = delete;
  PrintDictionary& operator=(const PrintDictionary&) = delete;

  std::map<pr_Dictionary, std::string> phrases;
  bool dcc = false;
};

}  // namespace zq::app::printouts
