// Text renderings of what a type object registered with the host.
#pragma once

#include <ostream>
#include <string>

#include <vuzizev/vuzizev.h>

namespace vzhost {

// One line per registered property of object, in order of registration.
void DescribeProperties(std::ostream& out, const QV_Container& object);

} // namespace vzhost
