// Result codes in words: the vault's table through the text catalogue stand-in,
// the fixed ranges and the system's fallbacks.
#include "report/ErrorTable.h"
#include "report/ErrorText.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <map>
#include <set>
#include <string>

namespace {

constexpr uint32_t kNotLatestVersion = 0x800402E0;  // shares its identifier, not its English text
constexpr wchar_t kOsRequirement[] =
    L"The operating system version is not supported\nThe following is the minimum requirement:";

std::wstring Text(uint32_t code) { return ErrorText(static_cast<HRESULT>(code)).Text(); }

std::wstring Hex(uint32_t value) {
    wchar_t buffer[16];
    swprintf(buffer, 16, L"%X", value);
    return buffer;
}

class ErrorTextTest : public ::testing::Test {
protected:
    ErrorTextTest() { CoInitialize(nullptr); }
    ~ErrorTextTest() override { CoUninitialize(); }
    TestFolder folder;
};

TEST(ErrorTable, HoldsEveryCodeOnceWithOneSentenceForEachIdentifier) {
    std::set<uint32_t> codes;
    std::map<std::pair<ErrorTextSource, uint32_t>, std::wstring> sentenceOfId;
    size_t rows = 0;
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        ++rows;
        EXPECT_TRUE(codes.insert(row.code).second) << std::hex << row.code;
        ASSERT_NE(row.english, nullptr);
        EXPECT_NE(row.english[0], L'\0') << std::hex << row.code;
        if (row.code == kNotLatestVersion || row.source == ErrorTextSource::OwnName) continue;
        const auto [known, isNew] = sentenceOfId.emplace(std::make_pair(row.source, row.id), row.english);
        EXPECT_TRUE(isNew || known->second == row.english) << "identifier 0x" << std::hex << row.id;
    }
    EXPECT_EQ(rows, 298u);
}

TEST_F(ErrorTextTest, WithoutCatalogueTextsEveryRowGivesItsEnglishSentence) {
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        if (row.source != ErrorTextSource::ErrorCodes && row.source != ErrorTextSource::DatabaseMessages) continue;
        EXPECT_EQ(Text(row.code), row.english) << std::hex << row.code;
    }
    EXPECT_EQ(Text(0x80040221), Text(0x80040206));
    EXPECT_EQ(Text(0x80040206),
              L"Could not open database. This could happen if the network connection is broken or if the database "
              L"has been removed.");
    EXPECT_EQ(Text(0x80040220), L"The server was not found.");
    EXPECT_EQ(Text(0x80040222), L"The ODBC data source was not found.");
    EXPECT_EQ(Text(0x8004020F),
              L"An ttempt was made to create a new file or folder with the same name as an existing one.");
    EXPECT_EQ(Text(0x8000FFFF), L"An unspecified error occurred.");
    EXPECT_EQ(Text(0x800402DE), L"Item has to be checked out to perform this operation.");
    EXPECT_EQ(Text(kNotLatestVersion), L"The object does not reference to the latest version.");
    EXPECT_EQ(Text(0x0004023F), L"The vault has Unique File Names turned on for this file's extension, and a file "
                                L"with the same name is already in the vault.");
}

TEST_F(ErrorTextTest, EveryLookedUpRowComesFromItsCatalogueAndSection) {
    std::vector<std::wstring> catalogue{L"QorInterface\tErrorCodes\t0xC4\tUnterstützte Versionen:"};
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const bool database = row.source == ErrorTextSource::DatabaseMessages;
        catalogue.push_back((database ? L"Database\tError Messages\t" : L"QorInterface\tErrorCodes\t") +
                            std::to_wstring(row.id) + (database ? L"\tD" : L"\tQ") + Hex(row.id));
    }
    folder.WriteCatalog(catalogue);
    for (const ErrorTextRow& row : AllErrorTextRows()) {
        const std::wstring expected = row.source == ErrorTextSource::DatabaseMessages ? L"D" + Hex(row.id)
                                      : row.source == ErrorTextSource::ErrorCodes    ? L"Q" + Hex(row.id)
                                                                                     : Text(row.code);
        EXPECT_EQ(Text(row.code), expected) << std::hex << row.code;
    }
    EXPECT_EQ(Text(0x8004027C), L"QB7\n\nUnterstützte Versionen:\n  SQL Server 2005 SP1 or later");
    EXPECT_EQ(Text(0x800402D3), L"Q112\nWindows XP Service Pack 2\nWindows Server 2003 Service Pack 1");
    EXPECT_EQ(Text(0x8004027D), L"E_QOR_GET_QORFORMATROUTER");
}

TEST_F(ErrorTextTest, EachLookupUsesACatalogueInstanceOfItsOwn) {
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
}

TEST_F(ErrorTextTest, ACatalogueThatCannotServeOrHasNoTextGivesTheEnglishSentence) {
    folder.WriteCatalog({L"QorInterface\tErrorCodes\t13\tDatei gesperrt"});
    const std::wstring english =
        L"An attempt was made to access a file that is exclusively opened by another application.";
    folder.Configure(L"TextCatalog", {L"init-result=1"});  // only S_OK counts as served
    EXPECT_EQ(Text(0x8004020B), english);
    folder.Configure(L"TextCatalog", {L"init-result=0x80004005"});
    EXPECT_EQ(Text(0x8004020B), english);
    folder.Configure(L"TextCatalog", {});
    EXPECT_EQ(Text(0x8004020F),
              L"An ttempt was made to create a new file or folder with the same name as an existing one.");
    EXPECT_EQ(Text(0x800402D3),
              std::wstring(kOsRequirement) + L"\nWindows XP Service Pack 2\nWindows Server 2003 Service Pack 1");
}

TEST_F(ErrorTextTest, InternetTransferErrorsHaveFixedTexts) {
    EXPECT_EQ(Text(0x80072EE7), L"The server name could not be resolved.");
    EXPECT_EQ(Text(0x80072EFD), L"The attempt to connect to the server failed.");
    EXPECT_EQ(Text(0x80072EFE), L"The connection with the server has been terminated.");
    EXPECT_EQ(Text(0x80072EFF), L"The connection with the server has been reset.");
    EXPECT_EQ(Text(0x80072F83), L"The Internet connection has been lost");
    EXPECT_EQ(Text(0x80072EE1), L"A WinINet error occured (code=12001).");
    EXPECT_EQ(Text(0x80072EE0), L"A WinINet error occured (code=12000).");
    EXPECT_EQ(Text(0x80072F8F), L"A WinINet error occured (code=12175).");
    EXPECT_EQ(Text(0x80072F90).find(L"WinINet"), std::wstring::npos);
    EXPECT_EQ(Text(0x80072EDF).find(L"WinINet"), std::wstring::npos);
}

TEST_F(ErrorTextTest, ArchiveServerRevisionControlErrorsAreNumberedFromTheRangeStart) {
    EXPECT_EQ(Text(0x80040433), L"Archive server revision control error 1 (0x080040433)");
    EXPECT_EQ(Text(0x80040432), L"Archive server revision control error 0 (0x080040432)");
    EXPECT_EQ(Text(0x800404C4), L"Archive server revision control error 146 (0x0800404C4)");
    EXPECT_EQ(Text(0x800404C5), L"The computer is not a member of a domain.");  // the next code is a row
}

TEST_F(ErrorTextTest, OtherCodesFallBackToTheSystemThenToTheirNumber) {
    const std::wstring denied = Text(0x80070005);  // the system knows it; its wording is the system's
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), L'\n');
    EXPECT_NE(denied.back(), L'\r');
    // Interface codes the system does not know get their IDispatch number...
    const std::wstring dispatch = Text(0x80040500);
    EXPECT_TRUE(dispatch == L"IDispatch error #768" || dispatch.find(L"#") == std::wstring::npos) << dispatch;
    EXPECT_EQ(Text(0x8004FFFF), L"IDispatch error #65023");
    // ...and every other unknown code its value.
    EXPECT_EQ(Text(0xA0001234), L"Unknown error 0xA0001234");
    EXPECT_EQ(Text(0xE00401FF), L"Unknown error 0xE00401FF");
}

}  // namespace
