// Result codes in words: the vault's table through the text catalogue, fixed ranges and the system's fallbacks.
#include "report/ErrorTable.h"
#include "report/ErrorText.h"
#include "ComThread.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

std::wstring Text(uint32_t code) { return ErrorText(static_cast<HRESULT>(code)).Text(); }

class ErrorTextTest : public ::testing::Test {
protected:
    ComThread com;
    TestFolder folder;
};

struct PinnedRow {
    uint32_t code;
    const wchar_t* name;
    const wchar_t* catalogue;  // with its section
    const wchar_t* id;         // as the catalogue file writes it
    const wchar_t* english;
};

// Rows written out apart from the table: some that share an identifier and its sentence, and the two of the database's
// catalogue.
const PinnedRow kPinned[] = {
    {0x80040206, L"E_QOR_CANT_OPEN_DATABASE", L"QorInterface\tErrorCodes", L"8",
     L"Could not open database. This could happen if the network connection is broken or if the database has been "
     L"removed."},
    {0x80040221, L"E_QOR_CANT_OPEN_DATABASE", L"QorInterface\tErrorCodes", L"8",
     L"Could not open database. This could happen if the network connection is broken or if the database has been "
     L"removed."},
    {0x80004005, L"E_FAIL", L"QorInterface\tErrorCodes", L"66", L"An unspecified error occurred."},
    {0x8000FFFF, L"E_UNEXPECTED", L"QorInterface\tErrorCodes", L"66", L"An unspecified error occurred."},
    {0x80040232, L"E_QOR_END_OF_REV_GEN_LIST_CONTINUE", L"QorInterface\tErrorCodes", L"53",
     L"You have reached the end of the revision generator list. Please contact your\nsystem administrator to add "
     L"more revision generator entries in the workflow editor."},
    {0x8004020F, L"E_QOR_NAME_ALREADY_EXISTS", L"QorInterface\tErrorCodes", L"17",
     L"An ttempt was made to create a new file or folder with the same name as an existing one."},
    {0x0004023F, L"S_QOR_FILES_NOT_UNIQUE_GLOBALLY", L"QorInterface\tErrorCodes", L"291",
     L"The vault has Unique File Names turned on for this file's extension, and a file with the same name is "
     L"already in the vault."},
    {0x80040425, L"E_FVC_CANT_WRITE_TO_REGISTRY", L"QorInterface\tErrorCodes", L"90",
     L"The Archive Server could not open the Windows Registry."},
    {0x80040291, L"E_QOR_INVALID_COLUMN_VIEW", L"QorInterface\tErrorCodes", L"207", nullptr},
    {0x80040220, L"E_QOR_SERVER_NOT_FOUND", L"Database\tError Messages", L"207", L"The server was not found."},
    {0x80040222, L"E_QOR_DATASOURCE_NOT_FOUND", L"Database\tError Messages", L"209",
     L"The ODBC data source was not found."},
};

// What the test's catalogue says for the row: its catalogue's name and the identifier.
std::wstring Translated(const PinnedRow& row) {
    const std::wstring catalogue = row.catalogue;
    return catalogue.substr(0, catalogue.find(L'\t')) + L" " + row.id;
}

TEST_F(ErrorTextTest, PinnedRowsTakeTheirCataloguesTextElseTheirEnglishSentence) {
    EXPECT_EQ(AllErrorTextRows().count, 298u);
    for (const PinnedRow& row : kPinned) {
        ASSERT_NE(FindErrorTextRow(static_cast<HRESULT>(row.code)), nullptr) << row.name;
        EXPECT_EQ(FindErrorTextRow(static_cast<HRESULT>(row.code))->name, std::wstring(row.name));
        if (row.english) {
            EXPECT_EQ(Text(row.code), row.english) << row.name;
        }
    }
    std::vector<std::wstring> catalogue{L"QorInterface\tErrorCodes\t0xC4\tUnterstützte Versionen:",
                                        L"QorInterface\tErrorCodes\t183\tSQL Server zu alt",
                                        L"QorInterface\tErrorCodes\t274\tSystem zu alt:"};
    for (const PinnedRow& row : kPinned) {
        catalogue.push_back(std::wstring(row.catalogue) + L"\t" + row.id + L"\t" + Translated(row));
    }
    folder.WriteCatalog(catalogue);
    for (const PinnedRow& row : kPinned) EXPECT_EQ(Text(row.code), Translated(row)) << row.name;
    EXPECT_EQ(Text(0x8004027C), L"SQL Server zu alt\n\nUnterstützte Versionen:\n  SQL Server 2005 SP1 or later");
    EXPECT_EQ(Text(0x800402D3), L"System zu alt:\nWindows XP Service Pack 2\nWindows Server 2003 Service Pack 1");
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
