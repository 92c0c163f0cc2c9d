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
        {L"a.mfg", true},  {L"a.tph", true},        {L"a.FRM", true},      {L"B.PRT", true},
        {L"c.Asm", true},  {L"w.dots.drw", true},   {L"a.prtx", false},    {L"noext", false},
        {L"a.prt.bak", false}, {L"dir.prt\\inside", false}};
    for (const auto& [name, plain] : files) {
        folder.WriteFile(name, "FWTEXT 1\r\n");
        EXPECT_EQ(IsPlainCadFile(folder.Path(name)), plain) << name;
    }
    folder.WriteFile(L"empty.frm", "");
    EXPECT_TRUE(IsPlainCadFile(folder.Path(L"empty.frm")));
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"missing.prt")));
    const HeldFile held(folder.Path(L"B.PRT"));
    EXPECT_FALSE(IsPlainCadFile(folder.Path(L"B.PRT")));

    // A compound file is not, even while a writer holds it.
    const std::wstring compound = folder.Path(L"compound.asm");
    ComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(compound.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put()),
              S_OK);
    storage.Reset();
    EXPECT_FALSE(IsPlainCadFile(compound));
    const HeldFile writer(compound, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(IsPlainCadFile(compound));
}

}  // namespace
