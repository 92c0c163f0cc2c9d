// Every text the module shows passes through the vault client's catalogue.
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "UnregisteredServer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class LocalisationTest : public ::testing::Test {
protected:
    LocalisationTest() { CoInitialize(nullptr); }
    ~LocalisationTest() override { CoUninitialize(); }

    // A database failure of a move: its box shows two of the module's texts.
    SeenBox FailedMoveBox() {
        MessageBoxWatcher boxes;
        host.moveResult = E_FAIL;
        request.AddFile(7, 2, 3);
        EXPECT_EQ(module->Move(parent.get(), &host, request.get(), false), E_FAIL);
        const auto seen = boxes.Boxes();
        EXPECT_EQ(seen.size(), 1u);
        return seen.empty() ? SeenBox{} : seen[0];
    }

    TestFolder folder;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    std::unique_ptr<LoadedModule> module;
};

TEST_F(LocalisationTest, TextsComeFromTheCatalogueInTheUsersLanguage) {
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben",
                         L"Move\t\t0x15\tEinige Elemente konnten nicht verschoben werden."});
    module = std::make_unique<LoadedModule>();
    const SeenBox box = FailedMoveBox();
    EXPECT_EQ(box.caption, L"Elemente verschieben");
    EXPECT_EQ(box.text.substr(0, 49), L"Einige Elemente konnten nicht verschoben werden.\n");
    const auto journal = folder.Journal(L"TextCatalog");
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[1], (std::vector<std::wstring>{L"Init", L"Brimwork PDM", L"Move"}));
}

TEST_F(LocalisationTest, UnloadingTheModuleReleasesTheService) {
    module = std::make_unique<LoadedModule>();
    module.reset();
    EXPECT_EQ(folder.JournalCalls(L"TextCatalog"), (std::vector<std::wstring>{L"Create", L"Init", L"Destroy"}));
}

TEST_F(LocalisationTest, WithoutTheCatalogueClassTextsAreEnglishAndLoadingSucceeds) {
    const UnregisteredServer catalog(L"TextCatalog.dll");
    ASSERT_TRUE(catalog.Unregistered());

    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben"});
    module = std::make_unique<LoadedModule>();
    const SeenBox box = FailedMoveBox();
    EXPECT_EQ(box.caption, L"Move Items");
    EXPECT_TRUE(folder.JournalCalls(L"TextCatalog").empty());
}

}  // namespace
