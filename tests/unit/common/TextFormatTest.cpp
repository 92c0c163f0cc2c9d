#include "common/TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatText, FillsThePlaceholdersOfTheModuleTexts) {
    EXPECT_EQ(FormatText(L"Error running add-ins:\n%s", {L"Access is denied."}),
              L"Error running add-ins:\nAccess is denied.");
    EXPECT_EQ(FormatText(L"%d items do not exist", {3}), L"3 items do not exist");
    EXPECT_EQ(FormatText(L"Failed in '%s'.\nCause: %s", {L"C:\\a.prt", L"held"}), L"Failed in 'C:\\a.prt'.\nCause: held");
    EXPECT_EQ(FormatText(L"Unknown error 0x%0lX", {0x80040500u}), L"Unknown error 0x80040500");
    EXPECT_EQ(FormatText(L"error %d (0x0%X)", {1, 0x80040433u}), L"error 1 (0x080040433)");
    EXPECT_EQ(FormatText(L"%d", {-42}), L"-42");
    EXPECT_EQ(FormatText(L"[%5d|%-4d|%04X]", {42, 7, 0xAu}), L"[   42|7   |000A]");
    EXPECT_EQ(FormatText(L"100%% done", {}), L"100% done");
}

TEST(FormatText, AnUntrustedFormatCannotReadWhatItWasNotGiven) {
    // A translation may carry placeholders that do not match the arguments.
    EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and ");
    EXPECT_EQ(FormatText(L"%s", {12}), L"12");
    EXPECT_EQ(FormatText(L"%d", {L"text"}), L"text");
    EXPECT_EQ(FormatText(L"%n %q", {1}), L"%n %q");
    EXPECT_EQ(FormatText(L"ends with %", {1}), L"ends with %");
    // A field is at most 1024 characters wide.
    EXPECT_EQ(FormatText(L"%1023d", {1}).size(), 1023u);
    for (const wchar_t* wide : {L"%1024d", L"%1025d", L"%99999999999d"}) EXPECT_EQ(FormatText(wide, {1}).size(), 1024u);
}

TEST(FormatText, PointersPrintAsFixedWidthHex) {
    const std::wstring a = FormatText(L"%p", {reinterpret_cast<const void*>(0x1234)});
    EXPECT_EQ(a.size(), sizeof(void*) * 2);
    EXPECT_EQ(a.substr(a.size() - 4), L"1234");
    EXPECT_NE(a, FormatText(L"%p", {reinterpret_cast<const void*>(0x1235)}));
}

}  // namespace
