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
    TestFolder folder;
};

TEST_F(TranslateTest, TheServiceSuppliesItsTextsAndOnlyAnOkAnswerCounts) {
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben", L"Other\t\t0x11\tnot this module"});
    OnProcessAttach(nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Elemente verschieben");
    EXPECT_EQ(Translate(Msg::CaptionRename), L"Rename Item");  // only another module has a text for it
    folder.Configure(L"TextCatalog", {L"gettext-result=1"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    folder.Configure(L"TextCatalog", {L"gettext-null=1"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"");
}

TEST_F(TranslateTest, AServiceThatCannotServeTheModuleIsReleased) {
    folder.Configure(L"TextCatalog", {L"init-result=0x80004005"});
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben"});
    OnProcessAttach(nullptr);
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog"), (std::vector<std::wstring>{L"Create", L"Init", L"Destroy"}));
}

TEST(TranslateWithoutCom, LoadingWithoutComLeavesEnglish) {
    OnProcessAttach(nullptr);  // no COM on this thread: the creation fails
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionRename), L"Rename Item");
}

}  // namespace
