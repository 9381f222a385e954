// The host fixture and a concrete array over any index base, for the tests of arrays.
#pragma once

#include "support/host_fixture.h"

using HostTest = testsupport::HostTest;

// An array over Base whose elements are real variables; it counts what it makes and can
// be told to make nothing, as when the allocator fails.
template <class Base>
class CountingArray : public Base {
public:
    QV_Type* NewElement() override {
        ++asked;
        if (refuse) {
            return nullptr;
        }
        ++made;
        return new QV_REALVARIABLE(true);
    }
    // Adds an index value without a table entry, leaving the table empty for the tests of
    // a table whose sets hold values.
    void AddIndexValueOnly(int k, int value) { this->m_indexValues[k] += value; }

    int made = 0;
    int asked = 0; // made or refused
    bool refuse = false;
};
