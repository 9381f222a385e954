// Internal state of the stand-in host that several of its parts share.
#pragma once

#include "vuzizev/testing.h"

namespace vzt::detail {

bool JournalOn();
void Record(Event event);

} // namespace vzt::detail
