// The named tag numbers of the library, generated from core/TagList.def.
// They live in zq::app::tlv and are also declared in zq::app, so the code of
// every subsystem names them without qualification.
#pragma once

#include "core/zumbra_tlv_types.h"

namespace zq::app::tlv {

using TlvTag = ::TlvTag;

#define ZQ_TAG(name, number) inline constexpr TlvTag name = number;
#include "core/TagList.def"
#undef ZQ_TAG

}  // namespace zq::app::tlv

namespace zq::app {

#define ZQ_TAG(name, number) using tlv::name;
#include "core/TagList.def"
#undef ZQ_TAG

}  // namespace zq::app
