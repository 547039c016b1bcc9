// trustprobe: writes the MOF text of the machine's first Win32_Tpm instance
// into the file named on the command line.
#ifndef ZQ_TPM_TRUSTPROBE_TRUSTPROBE_H
#define ZQ_TPM_TRUSTPROBE_TRUSTPROBE_H

#include <ostream>
#include <string>

#include "trustprobe/TpmWmi.h"

namespace zq::tpm::trustprobe {

// The TPM description, or false after a message on the console (silently when
// WMI knows no Win32_Tpm instance). COM is initialised for the query only.
bool queryTpmObjectText(TpmWmi& wmi, std::ostream& console, std::u16string* text);

// The program: the exit status, 0 when the file holds the description.
int runTrustprobe(int argc, const char* const argv[], TpmWmi& wmi, std::ostream& console);

}  // namespace zq::tpm::trustprobe

#endif
