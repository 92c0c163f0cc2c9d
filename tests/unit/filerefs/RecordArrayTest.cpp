#include "filerefs/RecordArray.h"

#include "GhMove.h"

#include "common/Bstr.h"
#include "interfaces/ComRecords.h"
#include "ComThread.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordArray, EmptyGrowingAndUnregisteredArrays) {
    const ComThread com;
    RecordArray empty = CreateObjectIdPairArray(0);
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_EQ(SafeArrayGetElemsize(empty.Get()), sizeof(ObjectIdPair));  // the registered library's layout

    RecordArray paths;
    for (const wchar_t* text : {L"C:\\a", L"C:\\b", L"C:\\c"}) ASSERT_EQ(AppendBstr(paths, Bstr(text).Get()), S_OK);
    ASSERT_EQ(paths.Count(), 3u);
    EXPECT_EQ(paths.Get()->rgsabound[0].lLbound, 0);
    EXPECT_STREQ(paths.Data<BSTR>()[0], L"C:\\a");
    EXPECT_STREQ(paths.Data<BSTR>()[2], L"C:\\c");

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
