// Text renderings of what a type object registered with the host.
#pragma once

#include <string>

#include <vuzizev/vuzizev.h>

#include "output.h"

namespace vzhost {

// One line per registered property of object, in order of registration.
void DescribeProperties(Output& out, const QV_Container& object);

} // namespace vzhost
