// Checks of host parameters before the terminal API stores them. Each
// refusal is logged on the developer category at error level.
#pragma once

#include <string>

namespace zq::app::utils {

bool validateAmount(const std::string& amount);
bool validateTitle(const std::string& title);
bool validateAdditionalPrintoutData(const std::string& data);
bool validateTransactionId(const unsigned int& id);
bool validateTerminalId(const unsigned char& id);
bool validateCardsetId(const unsigned int& id);
bool validateCurrencyId(const unsigned int& id);
bool validateBlikCode(const std::string& code);
bool validateEAN(const std::string& ean);

}  // namespace zq::app::utils
