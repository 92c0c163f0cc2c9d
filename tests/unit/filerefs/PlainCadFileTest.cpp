// Which rewrite targets are CAD documents kept as plain files.
#include "filerefs/PlainCadFile.h"

#include "CompoundDocument.h"
#include "HeldFile.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

class PlainCadFileTest : public ::testing::Test {
protected:
    TestFolder folder;
};

TEST_F(PlainCadFileTest, APlainFileWithACadExtensionInAnyCaseIs) {
    for (const wchar_t* name : {L"a.mfg", L"a.tph", L"a.frm", L"a.prt", L"a.asm", L"a.drw", L"B.PRT", L"c.Asm",
                                L"with.dots.drw"}) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        EXPECT_TRUE(IsPlainCadFile(folder.Path(name))) << name;
    }
    folder.WriteFile(L"empty.prt", "");
    EXPECT_TRUE(IsPlainCadFile(folder.Path(L"empty.prt")));
}

TEST_F(PlainCadFileTest, ACompoundFileIsNotEvenWhileAWriterHoldsIt) {
    for (const wchar_t* name : {L"a.prt", L"a.asm", L"a.drw"}) {
        WriteCompoundDocument(folder.Path(name), {L"C:\\x.prt"});
        EXPECT_FALSE(IsPlainCadFile(folder.Path(name))) << name;
    }
    const HeldFile writer(folder.Path(L"a.prt"), FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"a.prt")));
}

TEST_F(PlainCadFileTest, OtherExtensionsAndThePairFormAreNot) {
    for (const wchar_t* name : {L"a.txt", L"noextension", L"a.prt.bak", L"a.prtx", L"a.pr"}) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        EXPECT_FALSE(IsPlainCadFile(folder.Path(name))) << name;
    }
    folder.MakeFolder(L"dir.prt");
    folder.WriteFile(L"dir.prt\\inside", "x");
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"dir.prt\\inside")));  // the extension is the last component's
    folder.WriteFile(L"moved.prt", "FWTEXT 1\r\n");
    EXPECT_FALSE(IsPlainCadFile(L"\"" + folder.Path(L"old.prt") + L"\">\"" + folder.Path(L"moved.prt") + L"\""));
}

TEST_F(PlainCadFileTest, MissingAndHeldFilesAreNot) {
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"missing.prt")));
    folder.WriteFile(L"held.prt", "FWTEXT 1\r\n");
    const HeldFile held(folder.Path(L"held.prt"));
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"held.prt")));
}

}  // namespace
