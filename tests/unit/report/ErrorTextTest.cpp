// Result codes in words: the vault's table through the text catalogue stand-in,
// the fixed ranges and the system's fallbacks.
#include "report/ErrorTable.h"
#include "report/ErrorText.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

std::wstring Text(uint32_t code) { return ErrorText(static_cast<HRESULT>(code)).Text(); }

class ErrorTextTest : public ::testing::Test {
protected:
    ErrorTextTest() { CoInitialize(nullptr); }
    ~ErrorTextTest() override { CoUninitialize(); }
    TestFolder folder;
};

// Both catalogues know every identifier, each in its own words.
TEST_F(ErrorTextTest, EveryRowComesFromItsCatalogueAndSection) {
    std::vector<std::wstring> catalogue{L"QorInterface\tErrorCodes\t0xC4\tUnterstützte Versionen:"};
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const std::wstring id = std::to_wstring(row.id);
        catalogue.push_back(L"Database\tError Messages\t" + id + L"\tD" + id);
        catalogue.push_back(L"QorInterface\tErrorCodes\t" + id + L"\tQ" + id);
    }
    folder.WriteCatalog(catalogue);
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const std::wstring id = std::to_wstring(row.id);
        if (row.source == ErrorTextSource::DatabaseMessages) { EXPECT_EQ(Text(row.code), L"D" + id) << row.name; }
        if (row.source == ErrorTextSource::ErrorCodes) { EXPECT_EQ(Text(row.code), L"Q" + id) << row.name; }
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
    // Without a text, or without an answer of S_OK from Init, the sentence is the English one.
    EXPECT_EQ(Text(0x80040206), FindErrorTextRow(0x80040206)->english);
    folder.Configure(L"TextCatalog", {L"init-result=1"});
    EXPECT_EQ(Text(0x8004020B), FindErrorTextRow(0x8004020B)->english);
}

TEST_F(ErrorTextTest, CodesOutsideTheTableHaveFixedTextsByRangeElseTheirNumber) {
    EXPECT_EQ(Text(0x80072EFD), L"The attempt to connect to the server failed.");
    EXPECT_EQ(Text(0x80072F8F), L"A WinINet error occured (code=12175).");
    for (const uint32_t code : {0x80072EDFu, 0x80072F90u}) EXPECT_EQ(Text(code).find(L"WinINet"), std::wstring::npos);
    EXPECT_EQ(Text(0x80040432), L"Archive server revision control error 0 (0x080040432)");
    EXPECT_EQ(Text(0x800404C4), L"Archive server revision control error 146 (0x0800404C4)");
    EXPECT_EQ(Text(0x800404C5), L"The computer is not a member of a domain.");  // the next code is a row
    EXPECT_EQ(Text(0xA0001234), L"Unknown error 0xA0001234");  // the system does not know it either
}

}  // namespace
