// The simple item ID lists of shell notices, byte for byte: size, file kind, zeros up to the name, the name bytes, a
// zero byte, four zero bytes, then the list's end. A name the ANSI code page carries is stored as is; any other as
// UTF-8 after a marker, cut to 260 bytes after it.
#include "localview/ShellIdLists.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Expected(const std::string& name) {
    const size_t size = name.size() + 19;
    Bytes item = {static_cast<uint8_t>(size & 0xFF), static_cast<uint8_t>(size >> 8), 0x32, 0};
    item.resize(14, 0);
    item.insert(item.end(), name.begin(), name.end());
    item.resize(item.size() + 5 + 2, 0);
    return item;
}

Bytes Made(const std::wstring& name) {
    const NotifyByPathNs::PidlPtr list = MakeSimpleItemId(name);
    const auto* raw = reinterpret_cast<const uint8_t*>(list.Get());
    return Bytes(raw, raw + ILGetSize(list.Get()));
}

TEST(ShellIdLists, ASimpleItemHoldsItsNameInAnsiOrElseInUtf8) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "every name fits a UTF-8 ANSI code page";
    EXPECT_EQ(Made(L"Gearbox 2.asm"), Expected("Gearbox 2.asm"));
    EXPECT_EQ(Made(L""), Expected(""));
    EXPECT_EQ(Made(L"\u03A9mega"), Expected("\xFF\xFE\xCE\xA9mega"));
    EXPECT_EQ(Made(std::wstring(300, L'n')), Expected("\xFF\xFE" + std::string(260, 'n')));
    // At the edge: 260 ANSI bytes carry the name; at 261 the cut ones no longer do.
    EXPECT_EQ(Made(std::wstring(260, L'n')), Expected(std::string(260, 'n')));
    EXPECT_EQ(Made(std::wstring(261, L'n')), Expected("\xFF\xFE" + std::string(260, 'n')));
    // UTF-8 is cut by bytes: a last character that no longer fits whole loses its second byte.
    EXPECT_EQ(Made(std::wstring(258, L'n') + L"\u03A9"), Expected("\xFF\xFE" + std::string(258, 'n') + "\xCE\xA9"));
    EXPECT_EQ(Made(std::wstring(259, L'n') + L"\u03A9"), Expected("\xFF\xFE" + std::string(259, 'n') + "\xCE"));
}

}  // namespace
