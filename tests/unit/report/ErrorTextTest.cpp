// Result codes in words: the vault's table through the text catalogue stand-in,
// the fixed ranges and the system's fallbacks.
#include "report/ErrorTable.h"
#include "report/ErrorText.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

namespace {

std::wstring Text(uint32_t code) { return ErrorText(static_cast<HRESULT>(code)).Text(); }

class ErrorTextTest : public ::testing::Test {
protected:
    ErrorTextTest() { CoInitialize(nullptr); }
    ~ErrorTextTest() override { CoUninitialize(); }
    TestFolder folder;
};

TEST_F(ErrorTextTest, EveryRowComesFromItsCatalogueAndSection) {
    std::vector<std::wstring> catalogue{L"QorInterface\tErrorCodes\t0xC4\tUnterstützte Versionen:"};
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const bool database = row.source == ErrorTextSource::DatabaseMessages;
        const std::wstring id = std::to_wstring(row.id);
        catalogue.push_back(database ? L"Database\tError Messages\t" + id + L"\tD" + id
                                     : L"QorInterface\tErrorCodes\t" + id + L"\tQ" + id);
    }
    folder.WriteCatalog(catalogue);
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const std::wstring id = std::to_wstring(row.id);
        const std::wstring expected = row.source == ErrorTextSource::DatabaseMessages ? L"D" + id
                                      : row.source == ErrorTextSource::ErrorCodes    ? L"Q" + id
                                                                                     : Text(row.code);
        EXPECT_EQ(Text(row.code), expected) << std::hex << row.code;
    }
    EXPECT_EQ(Text(0x8004027C), L"Q183\n\nUnterstützte Versionen:\n  SQL Server 2005 SP1 or later");
    EXPECT_EQ(Text(0x800402D3), L"Q274\nWindows XP Service Pack 2\nWindows Server 2003 Service Pack 1");
    EXPECT_EQ(Text(0x8004027D), L"E_QOR_GET_QORFORMATROUTER");
}

TEST_F(ErrorTextTest, EachLookupUsesACatalogueInstanceOfItsOwnElseTheEnglishSentence) {
    folder.WriteCatalog({L"QorInterface\tErrorCodes\t13\tDatei gesperrt"});
    EXPECT_EQ(Text(0x8004020B), L"Datei gesperrt");
    EXPECT_EQ(folder.Journal(L"TextCatalog"),
              (std::vector<std::vector<std::wstring>>{{L"Create"},
                                                      {L"Init", L"Brimwork PDM", L"QorInterface"},
                                                      {L"GetSectionText", L"QorInterface", L"ErrorCodes", L"13"},
                                                      {L"Destroy"}}));
    // The composite row about SQL Server looks up two pieces, each with its own instance.
    Text(0x8004027C);
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog").size(), 4u + 2 * 4u);
    // The row that gives its own name and the fixed ranges look nothing up.
    Text(0x8004027D);
    Text(0x80072EFD);
    Text(0x80040433);
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog").size(), 4u + 2 * 4u);

    // Without a text, or without an answer of S_OK from Init, the sentence is the English one.
    EXPECT_EQ(Text(0x80040206), FindErrorTextRow(0x80040206)->english);
    folder.Configure(L"TextCatalog", {L"init-result=1"});
    EXPECT_EQ(Text(0x8004020B), FindErrorTextRow(0x8004020B)->english);
}

TEST_F(ErrorTextTest, CodesOutsideTheTableHaveFixedTextsByRangeElseTheSystemsOrTheirNumber) {
    EXPECT_EQ(Text(0x80072EFD), L"The attempt to connect to the server failed.");
    EXPECT_EQ(Text(0x80072F83), L"The Internet connection has been lost");
    EXPECT_EQ(Text(0x80072EE0), L"A WinINet error occured (code=12000).");
    EXPECT_EQ(Text(0x80072F8F), L"A WinINet error occured (code=12175).");
    EXPECT_EQ(Text(0x80072F90).find(L"WinINet"), std::wstring::npos);
    EXPECT_EQ(Text(0x80072EDF).find(L"WinINet"), std::wstring::npos);
    EXPECT_EQ(Text(0x80040432), L"Archive server revision control error 0 (0x080040432)");
    EXPECT_EQ(Text(0x800404C4), L"Archive server revision control error 146 (0x0800404C4)");
    EXPECT_EQ(Text(0x800404C5), L"The computer is not a member of a domain.");  // the next code is a row
    // Other codes fall back to the system's text, then to their number.
    const std::wstring denied = Text(0x80070005);  // the system knows it; its wording is the system's
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), L'\n');
    EXPECT_NE(denied.back(), L'\r');
    // Interface codes the system does not know get their IDispatch number, other codes their value.
    EXPECT_EQ(Text(0x8004FFFF), L"IDispatch error #65023");
    EXPECT_EQ(Text(0xA0001234), L"Unknown error 0xA0001234");
}

}  // namespace
