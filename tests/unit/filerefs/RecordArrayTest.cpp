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

GUID RecordIdOf(SAFEARRAY* array) {
    ComPtr<IRecordInfo> info;
    EXPECT_EQ(SafeArrayGetRecordInfo(array, info.Put()), S_OK);
    GUID id = {};
    if (info) info->GetGuid(&id);
    return id;
}

TEST_F(RecordArrayTest, RecordsOfTheRegisteredLibrariesHaveTheLayoutsTheModuleWrites) {
    RecordArray addIn = CreateAddInCmdDataArray(2);
    RecordArray pairs = CreateObjectIdPairArray(1);
    RecordArray files = CreateNonUniqueFileRecordArray(3);
    EXPECT_EQ(SafeArrayGetElemsize(addIn.Get()), sizeof(AddInCmdData));
    EXPECT_EQ(SafeArrayGetElemsize(pairs.Get()), sizeof(ObjectIdPair));
    EXPECT_EQ(SafeArrayGetElemsize(files.Get()), sizeof(NonUniqueFileRecord));
    EXPECT_EQ(RecordIdOf(addIn.Get()), RECID_AddInCmdData);
    EXPECT_EQ(RecordIdOf(pairs.Get()), RECID_ObjectIdPair);
    EXPECT_EQ(RecordIdOf(files.Get()), RECID_NonUniqueFileRecord);
    EXPECT_EQ(files.Count(), 3u);

    // Elements start zeroed; BSTRs written into them are freed with the array.
    const AddInCmdData* first = addIn.Data<AddInCmdData>();
    EXPECT_EQ(first[1].id3, 0);
    EXPECT_EQ(first[1].text2, nullptr);
    addIn.Data<AddInCmdData>()[0].text1 = SysAllocString(L"C:\\Vault\\Old");
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

TEST_F(RecordArrayTest, AnUnknownRecordOfARegisteredLibraryRaises) {
    const ComError error = Raised([&] {
        CreateRecordArray(LIBID_VaultRecords, kVaultRecordsMajor, kVaultRecordsMinor, RECID_NonUniqueFileRecord, 1);
    });
    EXPECT_TRUE(FAILED(error.Code()));
    EXPECT_EQ(error.Description(), L"Couldn't get record info from guids.");
}

TEST_F(RecordArrayTest, AppendingThreeTimesToNoArrayGivesThreeInOrder) {
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
}

TEST_F(RecordArrayTest, AFixedSizeArrayCannotGrow) {
    RecordArray paths = CreateBstrArray(1);
    paths.Get()->fFeatures |= FADF_FIXEDSIZE;
    EXPECT_EQ(AppendBstr(paths, nullptr), E_FAIL);
    EXPECT_EQ(paths.Count(), 1u);
    paths.Get()->fFeatures &= ~FADF_FIXEDSIZE;
}

TEST_F(RecordArrayTest, ACalleeMayReplaceTheArrayItWasHanded) {
    RecordArray paths = CreateBstrArray(1);
    SAFEARRAY** slot = paths.HandOff();
    ASSERT_EQ(SafeArrayDestroy(*slot), S_OK);  // not accessed any more, so the callee can destroy it
    *slot = SafeArrayCreateVectorEx(VT_BSTR, 0, 4, nullptr);
    paths.TakeBack();
    EXPECT_EQ(paths.Count(), 4u);
    EXPECT_NE(paths.Data<BSTR>(), nullptr);
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
