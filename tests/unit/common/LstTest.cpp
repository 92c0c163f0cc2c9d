#include "GhMove.h"
#include "common/ComPtr.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
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
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
}

TEST(Lst, NodesComeFromTheComTaskAllocator) {
    Lst<int> list;
    auto* node = list.Append(7);
    // The task allocator knows its own blocks; another heap's block would not
    // be recognised by it.
    ComPtr<IMalloc> allocator;
    ASSERT_EQ(CoGetMalloc(1, allocator.Put()), S_OK);
    EXPECT_EQ(allocator->DidAlloc(node), 1);
    EXPECT_NE(allocator->DidAlloc(new int(1)), 1);
}

TEST(Lst, ListsOfValuesDestroyTheirValues) {
    Lst<std::wstring> list;
    list.Append(std::wstring(100, L'a'));  // long enough to live on the heap
    list.Append(L"b");
    EXPECT_EQ(list.head->value.size(), 100u);
    list.Remove(list.head);
    EXPECT_EQ(list.head->value, L"b");
}

}  // namespace
