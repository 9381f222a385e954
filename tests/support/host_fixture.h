// A test fixture on a clean stand-in host, with helpers to read its journal.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include <standin/testing.h>
#include <vuzizev/vuzizev.h>

namespace testsupport {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        vzt::Reset();
        vzt::EnableJournal(true);
        m_liveBytesAtStart = vzt::Allocator().liveBytes;
        m_liveBlocksAtStart = vzt::Allocator().liveBlocks;
    }
    // Every test gives back what it allocated.
    void TearDown() override {
        vzt::EnableJournal(false);
        vzt::Reset();
        EXPECT_EQ(vzt::Allocator().liveBlocks, m_liveBlocksAtStart) << "blocks left allocated";
    }

    // Events of one kind, in order.
    static std::vector<vzt::Event> EventsOf(vzt::EventKind kind) {
        std::vector<vzt::Event> events;
        for (const vzt::Event& e : vzt::Journal()) {
            if (e.kind == kind) {
                events.push_back(e);
            }
        }
        return events;
    }

    static std::size_t CountOf(vzt::EventKind kind) { return EventsOf(kind).size(); }

    // Whether everything allocated since SetUp has gone back to the allocator.
    bool AllocatorBalanced() const {
        const vzt::AllocatorStats now = vzt::Allocator();
        return now.liveBytes == m_liveBytesAtStart && now.liveBlocks == m_liveBlocksAtStart;
    }

private:
    std::size_t m_liveBytesAtStart = 0;
    std::size_t m_liveBlocksAtStart = 0;
};

} // namespace testsupport
