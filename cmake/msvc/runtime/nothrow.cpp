// The one piece of a compiled libc++ that the type library takes (its headers are used
// without one): the tag of the allocation forms that give null rather than throw.
#include <new>

namespace std {

const nothrow_t nothrow{};

} // namespace std
