// Internal state of the stand-in host that several of its parts share.
#pragma once

#include "vuzizev/testing.h"

namespace vzt::detail {

bool JournalOn();
void Record(Event event);
// Starts the count of foreign frees afresh.
void ForgetForeignFrees();

} // namespace vzt::detail
