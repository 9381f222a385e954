// What the template tests share: a host reset per test with the journal on, a check that
// every test returns what it allocated, and a concrete array over any index base.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include <vuzizev/testing.h>
#include <vuzizev/vuzizev.h>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        vzt::Reset();
        vzt::EnableJournal(true);
        m_liveBlocks = vzt::Allocator().liveBlocks;
    }
    void TearDown() override {
        vzt::Reset();
        vzt::EnableJournal(false);
        EXPECT_EQ(vzt::Allocator().liveBlocks, m_liveBlocks) << "blocks left allocated";
    }

    static std::vector<vzt::Event> EventsOf(vzt::EventKind kind) {
        std::vector<vzt::Event> events;
        for (const vzt::Event& e : vzt::Journal()) {
            if (e.kind == kind) {
                events.push_back(e);
            }
        }
        return events;
    }

private:
    std::size_t m_liveBlocks = 0;
};

// An array over Base whose elements are real variables; it counts what it makes and can
// be told to make nothing, as when the allocator fails.
template <class Base>
class CountingArray : public Base {
public:
    QV_Type* NewElement() override {
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
    bool refuse = false;
};
