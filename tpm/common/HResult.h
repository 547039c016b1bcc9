// Status codes of the Windows calls, as the portable code of the TPM tools
// sees them: HRESULT and SECURITY_STATUS are both 32-bit signed values.
#ifndef ZQ_TPM_HRESULT_H
#define ZQ_TPM_HRESULT_H

#include <cstdint>

namespace zq::tpm {

using HResult = std::int32_t;

constexpr HResult kOk = 0;

// As the SUCCEEDED/FAILED macros see it: S_FALSE and other positive codes succeed.
inline bool failed(HResult hr) { return hr < 0; }

}  // namespace zq::tpm

#endif
