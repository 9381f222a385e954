#include "types/generic/multiports.h"

template class QV_ARRAY_S<QV_CONTROLPORT, QV_CONTROLPORT>;
template class QV_ARRAY_S<QV_GENERICPORT, QV_GENERICPORT>;
template class QV_ARRAY_S<QV_CONNECTIONPORT, QV_CONNECTIONPORT>;
template class QV_MULTIPORT<QV_CONTROLPORT>;
template class QV_MULTIPORT<QV_GENERICPORT>;
template class QV_MULTIPORT<QV_CONNECTIONPORT>;

#define PELLORIN_DEFINE_MULTIPORT(NAME, PORT)                                                      \
    NAME::NAME() = default;                                                                        \
    NAME& NAME::operator=(const NAME& other) = default;                                            \
    NAME::~NAME() = default;                                                                       \
    NAME& NAME::operator*() {                                                                      \
        return *this;                                                                              \
    }

PELLORIN_MULTIPORTS(PELLORIN_DEFINE_MULTIPORT)
