// Every class level of every type ends with its four words, after its own members, and copy
// assignment carries each level's words over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "support/host_fixture.h"
#include "support/type_cases.h"
#include "types/distribution1d/distribution1d.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution3d/distribution3d.h"
#include "types/domain/domain.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace {

template <class... T>
struct TypeList {};

using LibraryTypes =
    TypeList<QV_GENERICMODEL, QV_SECTIONDATAMODEL, QV_DOMAIN, QV_LENGTHDOMAIN, QV_ANGLEDOMAIN,
             QV_DISTRIBUTION1D, QV_DISTRIBUTION2D, QV_DISTRIBUTION3D, QV_GENERICCONTROLSIGNAL,
             QV_CONTROLSIGNAL, QV_GENERICCONNECTION, QV_CONNECTION, QV_GENERICSTREAM,
             QV_GENERICSTRUCTURE, QV_GENERICPORT, QV_CONTROLPORT, QV_CONNECTIONPORT>;

// Calls visit(level, depth) on the object's own level (depth 0) and on each library base level.
template <class Level, class Visit>
void ForEachLevel(Level& level, Visit visit, int depth = 0) {
    visit(level, depth);
    using Base = typename Level::LevelBase;
    if constexpr (pellorin::LibraryType<Base>) {
        ForEachLevel<Base>(level, visit, depth + 1);
    }
}

std::size_t RoundUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

// The words lie in order, each at the first place its alignment allows after the one before,
// and nothing but padding follows the last one in the level: so every member of the level
// comes before them.
template <class Level>
void ExpectWordsEndLevel(Level& level, const std::string& type, int depth) {
    const auto at = [&](const void* word) {
        return std::size_t(static_cast<const char*>(word) - reinterpret_cast<const char*>(&level));
    };
    const std::size_t offsets[] = {at(&level.m_groupBase), at(&level.m_localEqnCount),
                                   at(&level.m_localNZCount), at(&level.m_parent)};
    const std::size_t sizes[] = {sizeof(int), sizeof(int), sizeof(int), sizeof(QV_Container*)};
    const std::size_t alignments[] = {alignof(int), alignof(int), alignof(int),
                                      alignof(QV_Container*)};
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(offsets[i], RoundUp(offsets[i - 1] + sizes[i - 1], alignments[i]))
            << type << " level " << depth << " word " << i;
    }
    EXPECT_LT(sizeof(Level) - (offsets[3] + sizes[3]), alignof(Level))
        << type << " level " << depth << ": something follows m_parent";
}

std::tuple<int, int, int, QV_Container*> Words(auto& level) {
    return {level.m_groupBase, level.m_localEqnCount, level.m_localNZCount, level.m_parent};
}

template <class T>
void ExpectLayoutAndCopy(std::vector<std::string>& identities) {
    const std::string type = T::QV_ContainerId();
    identities.push_back(type);

    QV_GENERICMODEL parentA;
    QV_GENERICMODEL parentB;
    T source(true, &parentA);
    T target(true, &parentB);
    ForEachLevel(source, [&](auto& level, int depth) { ExpectWordsEndLevel(level, type, depth); });

    ForEachLevel(source, [](auto& level, int depth) {
        std::tie(level.m_groupBase, level.m_localEqnCount, level.m_localNZCount) =
            std::make_tuple(10 * depth + 1, 10 * depth + 2, 10 * depth + 3);
    });
    target = source;
    ForEachLevel(target, [&](auto& level, int depth) {
        EXPECT_EQ(Words(level), std::make_tuple(10 * depth + 1, 10 * depth + 2, 10 * depth + 3,
                                                static_cast<QV_Container*>(&parentA)))
            << type << " level " << depth;
    });
}

template <class... T>
std::vector<std::string> ExpectForAll(TypeList<T...>) {
    std::vector<std::string> identities;
    (ExpectLayoutAndCopy<T>(identities), ...);
    return identities;
}

using LevelWords = testsupport::HostTest;

TEST_F(LevelWords, EveryLevelEndsWithItsWordsAndCopyAssignmentCarriesThem) {
    std::vector<std::string> checked = ExpectForAll(LibraryTypes{});

    // The list above covers every type of the table, and no other.
    std::vector<std::string> table;
    for (const testsupport::TypeCase& c : testsupport::AllTypes()) {
        table.push_back(c.identity);
    }
    std::ranges::sort(checked);
    std::ranges::sort(table);
    EXPECT_EQ(checked, table);
}

} // namespace
