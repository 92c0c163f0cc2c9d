// Which rewrite targets are CAD documents kept as plain files.
#include "filerefs/PlainCadFile.h"

#include "HeldFile.h"
#include "TestFolder.h"
#include "common/ComPtr.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

TEST(PlainCadFile, OnlyAnExistingFreePlainFileWithACadExtensionInAnyCaseIs) {
    TestFolder folder;
    const std::pair<const wchar_t*, bool> files[] = {
        {L"a.mfg", true},  {L"a.tph", true},   {L"a.FRM", true},        {L"B.PRT", true},
        {L"c.Asm", true},  {L"w.dots.drw", true}, {L"a.txt", false},   {L"a.prtx", false},
        {L"noext", false}, {L"a.prt.bak", false}, {L"dir.prt\\inside", false}};
    for (const auto& [name, plain] : files) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        EXPECT_EQ(IsPlainCadFile(folder.Path(name)), plain) << name;
    }
    folder.WriteFile(L"empty.frm", "");
    EXPECT_TRUE(IsPlainCadFile(folder.Path(L"empty.frm")));
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"missing.prt")));
    // Nor is the pair form of a document that moved itself.
    EXPECT_FALSE(IsPlainCadFile(L"\"" + folder.Path(L"old.prt") + L"\">\"" + folder.Path(L"B.PRT") + L"\""));
    const HeldFile held(folder.Path(L"B.PRT"));
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"B.PRT")));
}

TEST(PlainCadFile, ACompoundFileIsNotEvenWhileAWriterHoldsIt) {
    TestFolder folder;
    const std::wstring compound = folder.Path(L"a.asm");
    ComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(compound.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put()),
              S_OK);
    storage.Reset();
    EXPECT_FALSE(IsPlainCadFile(compound));
    const HeldFile writer(compound, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(IsPlainCadFile(compound));
}

}  // namespace
