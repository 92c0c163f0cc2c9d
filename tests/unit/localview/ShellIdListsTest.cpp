// The simple item ID lists of shell notices, byte for byte. Lists of whole
// paths, the parsed root and an item per name, are read back through the
// shell in the local view's end-to-end tests.
#include "localview/ShellIdLists.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ListBytes(const NotifyByPathNs::PidlPtr& list) {
    const auto* raw = reinterpret_cast<const uint8_t*>(list.get());
    return Bytes(raw, raw + ILGetSize(list.get()));
}

// The item as the shell reads it: size, file kind, zeros up to the name,
// the name bytes, a zero byte, four zero bytes; then the list's end.
Bytes SimpleItem(const std::string& name) {
    const size_t size = name.size() + 19;
    Bytes item = {static_cast<uint8_t>(size & 0xFF), static_cast<uint8_t>(size >> 8), 0x32, 0};
    item.resize(14, 0);
    item.insert(item.end(), name.begin(), name.end());
    item.resize(item.size() + 5 + 2, 0);
    return item;
}

// A name the ANSI code page carries is stored as is; any other as UTF-8 after
// a marker, cut to 260 bytes after it.
TEST(ShellIdLists, ASimpleItemHoldsItsNameInAnsiOrElseInUtf8) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "every name fits a UTF-8 ANSI code page";
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"Gearbox 2.asm")), SimpleItem("Gearbox 2.asm"));
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"")), SimpleItem(""));
    EXPECT_EQ(ListBytes(MakeSimpleItemId(L"\u03A9mega")), SimpleItem("\xFF\xFE\xCE\xA9mega"));
    EXPECT_EQ(ListBytes(MakeSimpleItemId(std::wstring(300, L'n'))), SimpleItem("\xFF\xFE" + std::string(260, 'n')));
}

}  // namespace
