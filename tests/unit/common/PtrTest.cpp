#include "common/Ptr.h"

#include <gtest/gtest.h>

namespace {

struct Counted { inline static int live = 0; Counted() { ++live; } ~Counted() { --live; } };

TEST(Ptr, TheLastHolderDeletesUnlessTheObjectWasHandedOn) {
    Ptr<Counted> first(std::make_unique<Counted>());
    Ptr<Counted> second = first;
    first.Reset();
    EXPECT_EQ(Counted::live, 1);
    second.Reset();
    EXPECT_EQ(Counted::live, 0);

    Ptr<Counted> held(std::make_unique<Counted>());
    Ptr<Counted> copy = held;
    std::unique_ptr<Counted> taken(held.Detach());
    EXPECT_FALSE(held);
    copy.Reset();  // the last holder, but no longer the owner
    EXPECT_EQ(Counted::live, 1);
}

}  // namespace
