#include "filerefs/RecordArray.h"

#include "GhMove.h"

#include "interfaces/ComRecords.h"
#include "ComThread.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordArray, EmptyAndUnregisteredArrays) {
    const ComThread com;
    RecordArray empty = CreateObjectIdPairArray(0);
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_EQ(SafeArrayGetElemsize(empty.Get()), sizeof(ObjectIdPair));  // the registered library's layout

    const GUID unknownLibrary = {0x0BADF00D, 0x1, 0x2, {0, 1, 2, 3, 4, 5, 6, 7}};
    try {
        CreateRecordArray(unknownLibrary, 1, 0, RECID_ObjectIdPair, 1);
        ADD_FAILURE() << "nothing was raised";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Code(), TYPE_E_LIBNOTREGISTERED);
        EXPECT_EQ(error.Description(), L"Couldn't get record info from guids.");
    }
}

}  // namespace
