#include "filerefs/RecordArray.h"

#include "common/Bstr.h"
#include "common/ComErrors.h"
#include "common/ComPtr.h"
#include "interfaces/ComRecords.h"

#include <gtest/gtest.h>

namespace {

class RecordArrayTest : public ::testing::Test {
protected:
    RecordArrayTest() { CoInitialize(nullptr); }
    ~RecordArrayTest() override { CoUninitialize(); }
};

template <class Raise>
ComError Raised(Raise raise) {
    try {
        raise();
    } catch (const ComError& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was raised";
    return ComError(S_OK);
}

TEST_F(RecordArrayTest, EachArrayHoldsItsRecordTypeFromTheRegisteredLibraries) {
    const struct {
        RecordArray array;
        ULONG size;
        GUID record;
    } arrays[] = {{CreateAddInCmdDataArray(2), sizeof(AddInCmdData), RECID_AddInCmdData},
                  {CreateObjectIdPairArray(1), sizeof(ObjectIdPair), RECID_ObjectIdPair},
                  {CreateNonUniqueFileRecordArray(3), sizeof(NonUniqueFileRecord), RECID_NonUniqueFileRecord}};
    for (const auto& a : arrays) {
        EXPECT_EQ(SafeArrayGetElemsize(a.array.Get()), a.size);
        ComPtr<IRecordInfo> info;
        GUID id = {};
        ASSERT_EQ(SafeArrayGetRecordInfo(a.array.Get(), info.Put()), S_OK);
        info->GetGuid(&id);
        EXPECT_EQ(id, a.record);
    }
    EXPECT_EQ(arrays[2].array.Count(), 3u);
}

TEST_F(RecordArrayTest, ACountOfZeroGivesAValidEmptyArray) {
    RecordArray empty = CreateObjectIdPairArray(0);
    ASSERT_NE(empty.Get(), nullptr);
    LONG lower = -1, upper = -2;
    EXPECT_EQ(SafeArrayGetLBound(empty.Get(), 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(empty.Get(), 1, &upper), S_OK);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, -1);
}

TEST_F(RecordArrayTest, AnUnregisteredLibraryRaisesWithItsText) {
    const GUID unknownLibrary = {0x0BADF00D, 0x1, 0x2, {0, 1, 2, 3, 4, 5, 6, 7}};
    const ComError error = Raised([&] { CreateRecordArray(unknownLibrary, 1, 0, RECID_ObjectIdPair, 1); });
    EXPECT_EQ(error.Code(), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(error.Description(), L"Couldn't get record info from guids.");
}

TEST_F(RecordArrayTest, AppendingThreeTimesToNoArrayGivesThreeInOrderUntilItIsFixed) {
    RecordArray paths;
    for (const wchar_t* text : {L"C:\\a", L"C:\\b", L"C:\\c"}) {
        Bstr path(text);
        ASSERT_EQ(AppendBstr(paths, path.Get()), S_OK);
    }
    ASSERT_NE(paths.Get(), nullptr);
    EXPECT_EQ(SafeArrayGetDim(paths.Get()), 1u);
    EXPECT_EQ(paths.Get()->rgsabound[0].lLbound, 0);
    ASSERT_EQ(paths.Count(), 3u);
    EXPECT_STREQ(paths.Data<BSTR>()[0], L"C:\\a");
    EXPECT_STREQ(paths.Data<BSTR>()[2], L"C:\\c");
    paths.Get()->fFeatures |= FADF_FIXEDSIZE;
    EXPECT_EQ(AppendBstr(paths, nullptr), E_FAIL);
    EXPECT_EQ(paths.Count(), 3u);
    paths.Get()->fFeatures &= ~FADF_FIXEDSIZE;
}

TEST_F(RecordArrayTest, FailuresCarryTheThreadsErrorInformationOrTheirOwnText) {
    EXPECT_NO_THROW(CheckArrayResult(S_FALSE));
    EXPECT_EQ(Raised([] { CheckArrayResult(E_INVALIDARG); }).Description(), L"Could not lock safe array.");
    const ComError earlier = Raised([] { RaiseComError(E_ACCESSDENIED, L"the component's own words"); });
    SetErrorInfo(0, earlier.ErrorInfo());
    const ComError error = Raised([] { CheckArrayResult(DISP_E_ARRAYISLOCKED); });
    EXPECT_EQ(error.Code(), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(error.Description(), L"the component's own words");
}

}  // namespace
