#include "GhMove.h"
#include "common/ComPtr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<int> Forward(const Lst<int>& list) {
    std::vector<int> out;
    for (auto* n = list.head; n; n = n->next) out.push_back(n->value);
    return out;
}

std::vector<int> Backward(const Lst<int>& list) {
    std::vector<int> out;
    for (auto* n = list.tail; n; n = n->prev) out.push_back(n->value);
    return out;
}

TEST(Lst, KeepsLinksHeadTailAndCountThroughEveryChange) {
    Lst<int> list;
    auto* two = list.Append(2);
    list.Append(3);
    list.InsertBefore(two, 1);  // before the head: becomes the head
    auto* four = list.Append(4);
    list.InsertBefore(four, 35);
    EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 3, 35, 4}));
    EXPECT_EQ(Backward(list), (std::vector<int>{4, 35, 3, 2, 1}));
    EXPECT_EQ(list.count, 5);

    list.Remove(list.head);
    list.Remove(list.tail);
    EXPECT_EQ(Forward(list), (std::vector<int>{2, 3, 35}));
    EXPECT_EQ(Backward(list), (std::vector<int>{35, 3, 2}));
    EXPECT_EQ(list.count, 3);

    list.Clear();
    EXPECT_TRUE(list.head == nullptr && list.tail == nullptr && list.count == 0);
}

// What a host's list holds is what its nodes reach from the head: a count or
// a tail that says otherwise changes neither emptiness nor what is freed.
TEST(Lst, ItsNodesAloneSayWhatItHoldsWhateverItsCountAndTailSay) {
    Lst<int> list;
    list.Append(1);
    list.Append(2);
    list.count = 0;
    list.tail = nullptr;
    EXPECT_FALSE(list.Empty());
    list.Clear();
    EXPECT_TRUE(list.head == nullptr && list.tail == nullptr && list.count == 0);

    list.count = 3;  // no node at all
    EXPECT_TRUE(list.Empty());
    Lst<std::string*> owned;
    owned.Append(new std::string(40, 'x'));
    owned.Append(nullptr);
    owned.count = -1;
    owned.DeleteAll();  // the string is deleted, the null passed over
    EXPECT_TRUE(owned.head == nullptr && owned.tail == nullptr && owned.count == 0);
}

TEST(Lst, NodesComeFromTheComTaskAllocator) {
    Lst<int> list;
    auto* node = list.Append(7);
    // The task allocator knows its own blocks, and no others.
    ComPtr<IMalloc> allocator;
    ASSERT_EQ(CoGetMalloc(1, allocator.Put()), S_OK);
    EXPECT_EQ(allocator->DidAlloc(node), 1);
    const auto elsewhere = std::make_unique<Lst<int>::Node>();
    EXPECT_NE(allocator->DidAlloc(elsewhere.get()), 1);
}

}  // namespace
