// The members of an integer set, held compactly: as runs of consecutive integers where the
// members come in runs (index sets nearly always do), as the members themselves where they do
// not. Members are sorted and distinct, and there are at most INT_MAX of them, so that every
// position is an int.
#pragma once

#include <cstddef>
#include <vector>

namespace vzt::detail {

class IntegerMembers {
public:
    IntegerMembers() = default;
    // A copy counts its entries among those set operations copy (vzt::SetEntriesCopied).
    IntegerMembers(const IntegerMembers& other);
    IntegerMembers(IntegerMembers&& other) noexcept = default;
    IntegerMembers& operator=(const IntegerMembers& other);
    IntegerMembers& operator=(IntegerMembers&& other) noexcept = default;

    // The closed range [lo : hi]; throws std::bad_alloc when it holds more than INT_MAX.
    static IntegerMembers Range(int lo, int hi);

    std::size_t Size() const { return m_size; }
    // The member at pos (0 <= pos < Size()).
    int At(std::size_t pos) const;
    // Whether value is a member; pos receives where it is, or where it would go.
    bool Find(int value, int& pos) const;
    // Inserts value at pos; false (unchanged) when pos is outside the set or value would
    // not keep the members sorted and distinct. O(1) when it extends the last run.
    bool InsertAt(int value, int pos);
    // Adds value where it belongs (nothing when it is held).
    void Add(int value);

    // Whether every member of other lies after this set's last member, so that a union only
    // appends to it.
    bool Precedes(const IntegerMembers& other) const;
    // Appends other's members, all after the last member (Precedes(other)), in time linear in
    // what they add; the members are unchanged when it throws std::bad_alloc.
    void Append(const IntegerMembers& other);
    IntegerMembers United(const IntegerMembers& other) const;
    IntegerMembers Intersected(const IntegerMembers& other) const;
    bool Includes(const IntegerMembers& other) const;
    bool operator==(const IntegerMembers& other) const;

private:
    // A run of consecutive members: its first member and its position in the set; it ends
    // where the next run starts (or at Size()).
    struct Run {
        int first;
        int start;
    };
    // A stretch [lo : hi] of consecutive members, as the set operations walk them.
    struct Stretch {
        long long lo;
        long long hi;
    };
    class Builder;

    std::size_t RunEnd(std::size_t r) const;
    // The run that holds pos (runs form only).
    std::size_t RunAt(std::size_t pos) const;
    std::vector<Stretch> Stretches() const;
    // Calls f(lo, hi) for every maximal stretch, in order.
    template <class F>
    void ForEachStretch(F f) const;
    void InsertRun(int value, int pos);
    // Keeps members one by one once runs would take more room than they do.
    void KeepSmaller();
    void ToMembers();
    void ToRuns();

    std::size_t m_size = 0;
    std::size_t m_runCount = 0; // maximal runs, in either form
    std::vector<Run> m_runs;    // when held as runs
    std::vector<int> m_values;  // when held member by member
    bool m_byMember = false;
};

} // namespace vzt::detail
