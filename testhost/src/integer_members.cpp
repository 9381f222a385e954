#include "integer_members.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <new>

#include "standin/testing.h"

namespace vzt::detail {

namespace {

// Below this size a set keeps whichever form it has: converting would save next to nothing.
constexpr std::size_t kSmallSet = 16;

// Entries (runs or members) that set operations have written or moved, since the start.
std::atomic<std::size_t> g_entriesCopied{0};

void CountCopied(std::size_t entries) {
    g_entriesCopied.fetch_add(entries, std::memory_order_relaxed);
}

} // namespace

// Collects ascending stretches into runs, joining those that touch.
class IntegerMembers::Builder {
public:
    void Append(long long lo, long long hi) {
        const bool touches = !m_set.m_runs.empty() && lo <= m_last + 1;
        if (touches) {
            lo = std::max(lo, m_last + 1);
        }
        if (lo > hi) {
            return;
        }
        if (static_cast<long long>(m_set.m_size) >
            static_cast<long long>(INT_MAX) - (hi - lo + 1)) {
            throw std::bad_alloc();
        }
        if (!touches) {
            m_set.m_runs.push_back({int(lo), int(m_set.m_size)});
            CountCopied(1);
        }
        m_set.m_size += std::size_t(hi - lo + 1);
        m_last = hi;
    }
    IntegerMembers Finish() {
        m_set.m_runCount = m_set.m_runs.size();
        m_set.KeepSmaller();
        return std::move(m_set);
    }

private:
    IntegerMembers m_set;
    long long m_last = 0;
};

IntegerMembers::IntegerMembers(const IntegerMembers& other)
    : m_size(other.m_size), m_runCount(other.m_runCount), m_runs(other.m_runs),
      m_values(other.m_values), m_byMember(other.m_byMember) {
    CountCopied(m_runs.size() + m_values.size());
}

IntegerMembers& IntegerMembers::operator=(const IntegerMembers& other) {
    if (this != &other) {
        IntegerMembers copy(other);
        *this = std::move(copy);
    }
    return *this;
}

IntegerMembers IntegerMembers::Range(int lo, int hi) {
    Builder range;
    range.Append(lo, hi);
    return range.Finish();
}

std::size_t IntegerMembers::RunEnd(std::size_t r) const {
    return r + 1 < m_runs.size() ? std::size_t(m_runs[r + 1].start) : m_size;
}

std::size_t IntegerMembers::RunAt(std::size_t pos) const {
    // Positions mostly fall in the last run, as values do.
    if (pos >= std::size_t(m_runs.back().start)) {
        return m_runs.size() - 1;
    }
    return std::size_t(std::upper_bound(m_runs.begin(), m_runs.end(), pos,
                                        [](std::size_t p, const Run& run) {
                                            return p < std::size_t(run.start);
                                        }) -
                       m_runs.begin()) -
           1;
}

int IntegerMembers::At(std::size_t pos) const {
    if (m_byMember) {
        return m_values[pos];
    }
    const Run& run = m_runs[RunAt(pos)];
    return int(static_cast<long long>(run.first) + static_cast<long long>(pos) - run.start);
}

bool IntegerMembers::Find(int value, int& pos) const {
    if (m_byMember) {
        const auto it = std::lower_bound(m_values.begin(), m_values.end(), value);
        pos = int(it - m_values.begin());
        return it != m_values.end() && *it == value;
    }
    if (m_runs.empty() || value < m_runs.front().first) {
        pos = 0;
        return false;
    }
    // Lookups mostly fall in the last run (a set of one run, or one growing at its end).
    std::size_t r = m_runs.size() - 1;
    if (value < m_runs[r].first) {
        r = std::size_t(std::upper_bound(m_runs.begin(), m_runs.end(), value,
                                         [](int v, const Run& run) { return v < run.first; }) -
                        m_runs.begin()) -
            1;
    }
    const long long offset = static_cast<long long>(value) - m_runs[r].first;
    const long long length = static_cast<long long>(RunEnd(r)) - m_runs[r].start;
    pos = int(m_runs[r].start + std::min(offset, length));
    return offset < length;
}

bool IntegerMembers::InsertAt(int value, int pos) {
    if (pos < 0 || std::size_t(pos) > m_size || m_size >= std::size_t(INT_MAX)) {
        return false;
    }
    const bool hasPrevious = pos > 0, hasNext = std::size_t(pos) < m_size;
    const int previous = hasPrevious ? At(std::size_t(pos) - 1) : 0;
    const int next = hasNext ? At(std::size_t(pos)) : 0;
    if ((hasPrevious && previous >= value) || (hasNext && next <= value)) {
        return false;
    }
    const bool joinsPrevious = hasPrevious && static_cast<long long>(previous) + 1 == value;
    const bool joinsNext = hasNext && static_cast<long long>(value) + 1 == next;
    if (m_byMember) {
        m_values.insert(m_values.begin() + pos, value);
        CountCopied(m_size - std::size_t(pos));
    } else {
        InsertRun(value, pos);
    }
    ++m_size;
    m_runCount = m_runCount + 1 - (joinsPrevious ? 1 : 0) - (joinsNext ? 1 : 0);
    KeepSmaller();
    return true;
}

// Runs mode: value goes at pos, between members it does not repeat.
void IntegerMembers::InsertRun(int value, int pos) {
    // The run that holds pos - 1 (or none), and the one after it.
    std::size_t r = 0;
    bool joinsPrevious = false;
    if (pos > 0) {
        r = RunAt(std::size_t(pos) - 1);
        joinsPrevious = static_cast<long long>(m_runs[r].first) + (pos - m_runs[r].start) == value;
        ++r;
    }
    const bool joinsNext =
        r < m_runs.size() && static_cast<long long>(value) + 1 == m_runs[r].first;
    if (joinsPrevious && joinsNext) {
        m_runs.erase(m_runs.begin() + std::ptrdiff_t(r));
    } else if (joinsNext) {
        m_runs[r++].first = value;
    } else if (!joinsPrevious) {
        m_runs.insert(m_runs.begin() + std::ptrdiff_t(r++), Run{value, pos});
    }
    CountCopied(m_runs.size() - r);
    for (; r < m_runs.size(); ++r) {
        ++m_runs[r].start;
    }
}

void IntegerMembers::Add(int value) {
    int pos = 0;
    if (!Find(value, pos)) {
        if (m_size >= std::size_t(INT_MAX)) {
            throw std::bad_alloc();
        }
        InsertAt(value, pos);
    }
}

void IntegerMembers::KeepSmaller() {
    if (m_size < kSmallSet) {
        return;
    }
    // Runs take twice the room of a member each: switch when one form takes more than the
    // other, with a margin either way so that a set growing at its edge does not switch back
    // and forth. Both forms hold the same members: one that memory cannot be had for is not
    // taken.
    try {
        if (!m_byMember && 2 * m_runCount > m_size + kSmallSet) {
            ToMembers();
        } else if (m_byMember && 4 * m_runCount < m_size) {
            ToRuns();
        }
    } catch (const std::bad_alloc&) {
    }
}

void IntegerMembers::ToMembers() {
    std::vector<int> values(m_size);
    for (std::size_t r = 0; r < m_runs.size(); ++r) {
        for (std::size_t p = std::size_t(m_runs[r].start); p < RunEnd(r); ++p) {
            values[p] = int(m_runs[r].first + static_cast<long long>(p) - m_runs[r].start);
        }
    }
    CountCopied(m_size);
    m_values.swap(values);
    m_runs = {};
    m_byMember = true;
}

void IntegerMembers::ToRuns() {
    std::vector<Run> runs;
    runs.reserve(m_runCount);
    for (std::size_t p = 0; p < m_size; ++p) {
        if (p == 0 || static_cast<long long>(m_values[p - 1]) + 1 != m_values[p]) {
            runs.push_back({m_values[p], int(p)});
        }
    }
    CountCopied(runs.size());
    m_runs.swap(runs);
    m_values = {};
    m_byMember = false;
}

template <class F>
void IntegerMembers::ForEachStretch(F f) const {
    if (!m_byMember) {
        for (std::size_t r = 0; r < m_runs.size(); ++r) {
            const long long lo = m_runs[r].first;
            f(lo, lo + static_cast<long long>(RunEnd(r)) - m_runs[r].start - 1);
        }
        return;
    }
    for (std::size_t p = 0; p < m_values.size();) {
        std::size_t q = p + 1;
        while (q < m_values.size() && static_cast<long long>(m_values[q - 1]) + 1 == m_values[q]) {
            ++q;
        }
        f(static_cast<long long>(m_values[p]), static_cast<long long>(m_values[q - 1]));
        p = q;
    }
}

std::vector<IntegerMembers::Stretch> IntegerMembers::Stretches() const {
    std::vector<Stretch> stretches;
    stretches.reserve(m_runCount);
    ForEachStretch([&stretches](long long lo, long long hi) { stretches.push_back({lo, hi}); });
    CountCopied(stretches.size());
    return stretches;
}

bool IntegerMembers::Precedes(const IntegerMembers& other) const {
    return m_size == 0 || other.m_size == 0 || At(m_size - 1) < other.At(0);
}

void IntegerMembers::Append(const IntegerMembers& other) {
    if (other.m_size == 0) {
        return;
    }
    if (m_size > std::size_t(INT_MAX) - other.m_size) {
        throw std::bad_alloc();
    }
    const bool joins = m_size != 0 && static_cast<long long>(At(m_size - 1)) + 1 == other.At(0);
    const std::size_t size = m_size + other.m_size;
    const std::size_t runCount = m_runCount + other.m_runCount - (joins ? 1 : 0);
    // Take the form the united set will keep first, so that long runs are never written out
    // member by member.
    if (m_byMember && size >= kSmallSet && 4 * runCount < size) {
        ToRuns();
    }
    const std::size_t runsBefore = m_runs.size(), valuesBefore = m_values.size();
    try {
        std::size_t start = m_size;
        other.ForEachStretch([&](long long lo, long long hi) {
            if (m_byMember) {
                for (long long v = lo; v <= hi; ++v) {
                    m_values.push_back(int(v));
                }
            } else if (start != m_size || !joins) {
                m_runs.push_back({int(lo), int(start)});
            }
            start += std::size_t(hi - lo + 1);
        });
    } catch (const std::bad_alloc&) {
        m_runs.resize(runsBefore);
        m_values.resize(valuesBefore);
        throw;
    }
    CountCopied(m_runs.size() - runsBefore + m_values.size() - valuesBefore);
    m_size = size;
    m_runCount = runCount;
    KeepSmaller();
}

IntegerMembers IntegerMembers::United(const IntegerMembers& other) const {
    const std::vector<Stretch> a = Stretches(), b = other.Stretches();
    Builder united;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        const bool fromA = j == b.size() || (i < a.size() && a[i].lo <= b[j].lo);
        const Stretch& s = fromA ? a[i++] : b[j++];
        united.Append(s.lo, s.hi);
    }
    return united.Finish();
}

IntegerMembers IntegerMembers::Intersected(const IntegerMembers& other) const {
    const std::vector<Stretch> a = Stretches(), b = other.Stretches();
    Builder common;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        common.Append(std::max(a[i].lo, b[j].lo), std::min(a[i].hi, b[j].hi));
        (a[i].hi < b[j].hi ? i : j) += 1;
    }
    return common.Finish();
}

bool IntegerMembers::Includes(const IntegerMembers& other) const {
    const std::vector<Stretch> a = Stretches(), b = other.Stretches();
    std::size_t i = 0;
    for (const Stretch& s : b) {
        while (i < a.size() && a[i].hi < s.lo) {
            ++i;
        }
        if (i == a.size() || a[i].lo > s.lo || a[i].hi < s.hi) {
            return false;
        }
    }
    return true;
}

bool IntegerMembers::operator==(const IntegerMembers& other) const {
    if (m_size != other.m_size || m_runCount != other.m_runCount) {
        return false;
    }
    const std::vector<Stretch> a = Stretches(), b = other.Stretches();
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const Stretch& x, const Stretch& y) { return x.lo == y.lo && x.hi == y.hi; });
}

} // namespace vzt::detail

std::size_t vzt::SetEntriesCopied() {
    return vzt::detail::g_entriesCopied.load(std::memory_order_relaxed);
}
