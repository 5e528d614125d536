#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "world/ordered_list.h"

namespace {

struct Item {
    int value;
    Item* other;
};

using List = OrderedList<Item>;
using Values = std::vector<int>;

Item* Add(List& list, int value) {
    Item* item = list.Add();
    item->value = value;
    return item;
}

void Fill(List& list, const Values& values) {
    for (int v : values) Add(list, v);
}

Values ValuesOf(const List& list) {
    Values out;
    for (const Item& item : list) out.push_back(item.value);
    return out;
}

TEST(OrderedList, AddGoesAfterTheCursorAndToTheFrontWhenThereIsNone) {
    List list;
    EXPECT_EQ(list.Next(), nullptr);
    Item* only = Add(list, 1);
    EXPECT_EQ(list.Current(), only);
    EXPECT_EQ(only->other, nullptr);  // new records are zero-filled

    Fill(list, {2, 3});
    list.Reset();
    while (list.Next() != nullptr) {
    }
    Add(list, 4);  // a full pass leaves the cursor on the last element
    list.Reset();
    Add(list, 0);
    EXPECT_EQ(ValuesOf(list), (Values{0, 1, 2, 3, 4}));

    list.Reset();
    list.Next();
    Item* one = list.Next();
    list.Next();
    list.SetCurrent(one);
    Fill(list, {10, 11});
    EXPECT_EQ(ValuesOf(list), (Values{0, 1, 10, 11, 2, 3, 4}));
    EXPECT_EQ(list.Size(), 7);
    EXPECT_EQ(list.Current()->value, 11);  // Size leaves the cursor alone
}

TEST(OrderedList, RemovingStepsBackSoThePassGoesOnWithTheFollowingElement) {
    List list;
    Fill(list, {1, 2, 3, 4});
    list.Reset();
    list.RemoveCurrent();  // no current element: nothing happens
    list.Next();
    list.RemoveCurrent();
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.Next()->value, 2);
    list.Next();
    list.RemoveCurrent();
    EXPECT_EQ(list.Current()->value, 2);
    EXPECT_EQ(list.Next()->value, 4);
    EXPECT_EQ(ValuesOf(list), (Values{2, 4}));
}

TEST(OrderedList, RemovingEveryElementInOnePassLeavesItEmpty) {
    List list;
    Fill(list, {1, 2, 3});
    Values visited;
    list.Reset();
    while (Item* item = list.Next()) {
        visited.push_back(item->value);
        list.RemoveCurrent();
    }
    EXPECT_EQ(visited, (Values{1, 2, 3}));
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.Current(), nullptr);
    Fill(list, {5});
    list.Clear();
    EXPECT_EQ(list.Next(), nullptr);
}

TEST(OrderedList, ANestedPassVisitsEveryUnorderedPairOnce) {
    List list;
    Fill(list, {1, 2, 3, 4});
    std::vector<std::pair<int, int>> pairs;
    list.Reset();
    while (Item* outer = list.Next()) {
        while (Item* inner = list.Next()) pairs.emplace_back(outer->value, inner->value);
        list.SetCurrent(outer);
    }
    EXPECT_EQ(pairs,
              (std::vector<std::pair<int, int>>{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}));
}

// The contacts and the candidate pairs are emptied and refilled every pass;
// walking them reads memory front to back only if a refill lays the records
// out again in the order they are added.
TEST(OrderedList, ARefillAfterAClearTakesTheSamePlacesInOrderZeroFilled) {
    List list;
    std::vector<Item*> first;
    for (int v = 0; v < 100; ++v) first.push_back(Add(list, v));
    // Holes in the middle, then everything cleared.
    list.Reset();
    while (Item* item = list.Next()) {
        if (item->value % 3 == 0)
            list.RemoveCurrent();
    }
    list.Clear();
    for (int v = 0; v < 100; ++v) {
        Item* item = list.Add();
        EXPECT_EQ(item, first[v]) << v;
        EXPECT_EQ(item->value, 0) << v;
        item->value = v;
    }
    EXPECT_EQ(list.Size(), 100);
}

TEST(OrderedList, ARemovedRecordsPlaceIsTakenByTheNextAdd) {
    List list;
    Fill(list, {1, 2, 3});
    list.Reset();
    list.Next();
    Item* second = list.Next();
    list.RemoveCurrent();
    list.Reset();
    Item* added = Add(list, 9);
    EXPECT_EQ(added, second);
    EXPECT_EQ(ValuesOf(list), (Values{9, 1, 3}));
}

}  // namespace
