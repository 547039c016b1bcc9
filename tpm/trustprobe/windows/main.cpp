// trustprobe OUTPUT-FILE: the TPM's WMI description into OUTPUT-FILE.
#include <iostream>
#include <new>

#include "trustprobe/Trustprobe.h"
#include "trustprobe/windows/ComTpmWmi.h"

int main(int argc, char** argv) {
  try {
    zq::tpm::trustprobe::ComTpmWmi wmi;
    return zq::tpm::trustprobe::runTrustprobe(argc, argv, wmi, std::cout);
  } catch (const std::bad_alloc&) {
    // The only thing that throws here; the exit status says it failed.
    return 1;
  }
}
