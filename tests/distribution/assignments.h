// What a distribution's assignments left behind, written compactly for table-driven tests:
// each property the library assigned, in order of registration, as "NAME#N" with N the
// number of its assignment, an index set as "NAME=members#N" (members as runs, "0-3,5"; "-"
// for none). And what SetDims bound each array's dimensions to.
#pragma once

#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace testsupport {

// Every tag's (b, a) must be the given pair; a property whose tag is not is shown as
// "NAME#N(b,a)".
std::string Assignments(const QV_Container& container, int b, int a);

// "ARRAY: SET1 SET2 ..." for every array, each dimension shown as the name of the set it is
// bound to, as found among the `owners`' properties ("y.INTERIOR" for the second owner's
// INTERIOR); "?" for a set found nowhere, "-" for none.
std::string Bindings(const QV_Container& distribution,
                     const std::vector<std::pair<std::string, const QV_Container*>>& owners);

} // namespace testsupport
