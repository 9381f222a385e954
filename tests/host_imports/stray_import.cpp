// Reads a value past the host's accessors, and allocates from the C++ runtime's heap, as the
// library must not.
#include "standin/host_access.h"
#include "vuzizev/properties.h"

__attribute__((visibility("default"))) int StrayRead(const QV_INTEGERPARAMETER& p) {
    return vzt::AsInteger(vzt::Current(p));
}

__attribute__((visibility("default"))) int* StrayAllocation() {
    return new int(0);
}
