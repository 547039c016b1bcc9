// The values the protocol context hands to the terminal API, which passes
// them to the host unchanged: one definition, the public one.
#pragma once

#include "zumbra_ecr_types.h"
