// The tools' console line for a failed call: the message, then the code in
// lower-case hexadecimal without leading zeros, then a line end with flush.
#ifndef ZQ_TPM_CONSOLE_REPORT_H
#define ZQ_TPM_CONSOLE_REPORT_H

#include <ostream>

#include "common/HResult.h"

namespace zq::tpm {

// Answers false, for the caller to return.
bool reportFailure(std::ostream& console, const char* message, HResult code);

}  // namespace zq::tpm

#endif
