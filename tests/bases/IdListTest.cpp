// The identifier lists of the search: first-insertion order, no duplicates,
// intersection and subtraction keeping order, restriction, and the hash set
// behind them against a reference set (growth, erasure in probe chains).
#include "bases/IdList.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace kvelo {
namespace {

TIdList ListOf(std::initializer_list<int32_t> ids) {
    TIdList list;
    for (int32_t id : ids)
        list.Add(id);
    return list;
}

TEST(IdList, KeepsFirstInsertionOrderWithoutDuplicates) {
    TIdList list = ListOf({5, 3, 5, -1, 3});
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{5, 3, -1}));
}

TEST(IdList, IntersectAndSubtractKeepTheOrder) {
    TIdList list = ListOf({9, 1, 7, 4, 2});
    list.RetainOnly(ListOf({2, 7, 9, 8}));
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{9, 7, 2}));
    list.RemoveAll(ListOf({7}));
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{9, 2}));
    EXPECT_FALSE(list.Contains(7));
    EXPECT_TRUE(list.Add(7)) << "a removed identifier may come back";
}

TEST(IdList, RestrictionDropsIdentifiersOutsideTheAllowedList) {
    const TIdList allowed = ListOf({1, 2, 3});
    TIdList list;
    list.RestrictTo(&allowed);
    for (int32_t id : {4, 2, 9, 1})
        list.Add(id);
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{2, 1}));
}

TEST(IdSet, MatchesAReferenceSetThroughGrowthAndErasure) {
    std::mt19937 random(7);
    // Few distinct values, so probe chains collide and wrap.
    std::uniform_int_distribution<int32_t> value(-3000, 3000);
    TIdSet set;
    std::set<int32_t> reference;
    for (int step = 0; step < 100000; ++step) {
        const int32_t id = value(random);
        if (step % 3 == 0) {
            set.Erase(id);
            reference.erase(id);
        } else {
            EXPECT_EQ(set.Insert(id), reference.insert(id).second);
        }
    }
    for (int32_t id = -3000; id <= 3000; ++id)
        ASSERT_EQ(set.Contains(id), reference.count(id) == 1) << id;
}

} // namespace
} // namespace kvelo
