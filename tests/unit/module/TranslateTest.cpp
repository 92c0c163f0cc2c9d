// Translate through the text catalogue, created the way the library's load handler creates it.
#include "module/ModuleStartup.h"
#include "module/Translate.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

using Calls = std::vector<std::wstring>;

// Without COM on the loading thread, or with a service that cannot serve the module, the texts are English; only an
// answer of S_OK gives the service's text.
TEST(TranslateTest, TheServiceSuppliesTheModulesTextsElseTheEnglishOnes) {
    TestFolder folder;
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben", L"Other\t\t0x11\tnot this module"});
    OnProcessAttach(nullptr);
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    folder.Configure(L"TextCatalog", {L"init-result=0x80004005"});
    OnProcessAttach(nullptr);
    EXPECT_EQ(TextCatalogService(), nullptr);
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog"), (Calls{L"Create", L"Init", L"Destroy"}));
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");

    folder.Configure(L"TextCatalog", {});
    OnProcessAttach(nullptr);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Elemente verschieben");
    EXPECT_EQ(Translate(Msg::CaptionRename), L"Rename Item");  // only another module has a text for it
    folder.Configure(L"TextCatalog", {L"gettext-result=1"});
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
    OnProcessDetach(false);
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog").back(), L"Destroy");
    CoUninitialize();
}

}  // namespace
