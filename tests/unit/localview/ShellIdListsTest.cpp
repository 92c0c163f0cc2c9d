// The ID lists of shell notices, byte for byte: only the root is parsed by
// the shell, everything below it is built from names.
#include "localview/NotifyByPath.h"
#include "localview/ShellIdLists.h"

#include "ComThread.h"
#include "ShellNoticeObserver.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using NotifyByPathNs::PidlPtr;

Bytes ListBytes(const PidlPtr& list) {
    const auto* raw = reinterpret_cast<const uint8_t*>(list.get());
    return Bytes(raw, raw + ILGetSize(list.get()));
}

// The item as the shell reads it: size, file kind, zeros up to the name,
// the name bytes, a zero byte, four zero bytes; then the list's end.
Bytes SimpleItem(const Bytes& name) {
    const size_t size = name.size() + 19;
    Bytes item = {static_cast<uint8_t>(size & 0xFF), static_cast<uint8_t>(size >> 8), 0x32, 0};
    item.resize(14, 0);
    item.insert(item.end(), name.begin(), name.end());
    item.resize(item.size() + 5 + 2, 0);
    return item;
}

Bytes Text(const char* text) { return Bytes(text, text + strlen(text)); }

class ShellIdListsTest : public ::testing::Test {
protected:
    ComThread com;
    TestFolder folder;
};

TEST_F(ShellIdListsTest, ANameTheAnsiCodePageCarriesIsStoredAsIs) {
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"Gearbox 2.asm")), SimpleItem(Text("Gearbox 2.asm")));
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"")), SimpleItem({}));
}

TEST_F(ShellIdListsTest, OtherNamesAreStoredAsUtf8AfterAMarker) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "every name fits a UTF-8 ANSI code page";
    Bytes expected = {0xFF, 0xFE, 0xCE, 0xA9};  // Greek capital omega
    const Bytes rest = Text("mega");
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"\u03A9mega")), SimpleItem(expected));
}

TEST_F(ShellIdListsTest, AnOverlongNameIsCutTo260BytesAfterTheMarker) {
    const Bytes bytes = ListBytes(MakeSimpleItemId(std::wstring(300, L'n')));
    Bytes expected = {0xFF, 0xFE};
    expected.resize(262, 'n');
    EXPECT_EQ(bytes, SimpleItem(expected));
}

TEST_F(ShellIdListsTest, ARelativePathBecomesOneItemPerComponentBelowTheParsedRoot) {
    PidlPtr root;
    ASSERT_EQ(ParseFolderIdList(folder.LocalRoot(), root), S_OK);
    Bytes expected = ListBytes(root);
    expected.resize(expected.size() - 2);
    for (const char* name : {"Q", "Gone"}) {
        Bytes item = SimpleItem(Text(name));
        expected.insert(expected.end(), item.begin(), item.end() - 2);
    }
    expected.resize(expected.size() + 2, 0);
    // One leading backslash is skipped and empty components are ignored; the
    // places need not exist.
    EXPECT_EQ(ListBytes(BuildRelativeIdList(root.get(), L"\\Q\\\\Gone\\")), expected);
    EXPECT_EQ(ListBytes(BuildRelativeIdList(root.get(), L"")), ListBytes(root));
}

TEST_F(ShellIdListsTest, ARootTheShellCannotParseSendsNothing) {
    PidlPtr list;
    EXPECT_TRUE(FAILED(ParseFolderIdList(folder.Path(L"missing\\root"), list)));
    ShellNoticeObserver shell(folder.LocalRoot());
    EXPECT_FALSE(NotifyByPath(folder.Path(L"missing\\root"), L"\\A", SHCNE_MKDIR));
    EXPECT_TRUE(NotifyByPath(folder.LocalRoot(), L"\\A", SHCNE_MKDIR));
    ASSERT_EQ(shell.Notices().size(), 1u);
    EXPECT_EQ(shell.Notices()[0].places, std::vector<std::wstring>{L"\\A"});
}

}  // namespace
