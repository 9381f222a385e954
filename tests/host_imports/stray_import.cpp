// Reads a value past the host's accessors, as the library must not.
#include "vuzizev/properties.h"

__attribute__((visibility("default"))) int StrayRead(const QV_INTEGERPARAMETER& p) {
    return p.Current().AsInteger();
}
