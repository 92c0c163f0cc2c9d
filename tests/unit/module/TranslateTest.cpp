// Translate through the text catalogue stand-in, created the way the library's
// load handler creates it.
#include "module/ModuleStartup.h"
#include "module/Translate.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

class TranslateTest : public ::testing::Test {
protected:
    TranslateTest() { CoInitialize(nullptr); }
    ~TranslateTest() override {
        OnProcessDetach(false);
        CoUninitialize();
    }
    void Attach(const std::vector<std::wstring>& catalog) {
        folder.WriteCatalog(catalog);
        OnProcessAttach(nullptr);
    }
    TestFolder folder;
};

TEST_F(TranslateTest, WithoutAServiceEveryTextIsEnglish) {
    ASSERT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    EXPECT_EQ(Translate(0x77, L"default"), L"default");
}

TEST_F(TranslateTest, TheServiceOfModuleMoveSuppliesTheTexts) {
    Attach({L"Move\t\t0x10\tElemente verschieben", L"Move\t\t0x12\tFehler in Add-ins:\\n%s",
            L"Other\t\t0x11\tnot this module"});
    ASSERT_NE(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Elemente verschieben");
    EXPECT_EQ(Translate(Msg::AddInError), L"Fehler in Add-ins:\n%s");
    EXPECT_EQ(Translate(Msg::CaptionRename), L"Rename Item");  // no text for it: English
    const auto journal = folder.Journal(L"TextCatalog");
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[1], (std::vector<std::wstring>{L"Init", L"Brimwork PDM", L"Move"}));
}

TEST_F(TranslateTest, AnswersOtherThanOkGiveEnglishAndOkWithoutTextGivesEmpty) {
    folder.Configure(L"TextCatalog", {L"gettext-result=1"});
    Attach({L"Move\t\t0x10\tElemente verschieben"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    folder.Configure(L"TextCatalog", {L"gettext-result=0x80004005"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    folder.Configure(L"TextCatalog", {L"gettext-null=1"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"");
}

TEST_F(TranslateTest, AServiceThatCannotServeTheModuleIsReleased) {
    folder.Configure(L"TextCatalog", {L"init-result=0x80004005"});
    Attach({L"Move\t\t0x10\tElemente verschieben"});
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog"), (std::vector<std::wstring>{L"Create", L"Init", L"Destroy"}));
}

TEST_F(TranslateTest, DetachReleasesTheService) {
    Attach({});
    OnProcessDetach(false);
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog").back(), L"Destroy");
}

TEST(TranslateWithoutCom, LoadingWithoutComLeavesEnglish) {
    // No CoInitialize on this thread: the creation fails and nothing else happens.
    OnProcessAttach(nullptr);
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionRename), L"Rename Item");
}

}  // namespace
