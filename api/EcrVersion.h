// The library's version, as ecr_getVersion and the start-up log line give it.
#pragma once

namespace zq::app::utils {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 6;
inline constexpr int kVersionPatch = 0;
inline constexpr int kVersionBuild = 0;

}  // namespace zq::app::utils
