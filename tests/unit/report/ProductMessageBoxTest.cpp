// The vault client's message box, from the library its installation names in
// the registry; the stand-in's box is answered by a watcher like a user.
#include "common/Handles.h"
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"
#include "report/ProductMessageBox.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

// Sets the "Location" value for one test and puts the installed one back after.
class LocationValue {
public:
    LocationValue() {
        wchar_t buffer[1024] = {};
        DWORD bytes = sizeof(buffer);
        saved_ = RegGetValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, RRF_RT_REG_SZ, nullptr, buffer,
                              &bytes) == ERROR_SUCCESS;
        if (saved_) installed_ = buffer;
    }
    ~LocationValue() {
        if (saved_) Set(installed_);
    }
    const std::wstring& Installed() const { return installed_; }

    static void Set(const std::wstring& value, DWORD type = REG_SZ, bool terminated = true) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, type, value.c_str(),
                        static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    }
    static void Remove() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue); }

private:
    bool saved_ = false;
    std::wstring installed_;
};

class ProductMessageBoxTest : public ::testing::Test {
protected:
    // A folder of the test holding `library` under the name "Plinth.dll".
    std::wstring FolderWith(const wchar_t* library) const {
        const std::wstring libraryFolder = folder.Root() + L"\\lib";
        CreateDirectoryW(libraryFolder.c_str(), nullptr);
        CopyFileW(LoadedModule::BesideProgram(library).c_str(), (libraryFolder + L"\\Plinth.dll").c_str(), FALSE);
        return libraryFolder;
    }

    int Ask() { return ShowProductMessageBox(L"Move Items", L"Do you want to try again?", parent.get()); }

    bool PlinthLoaded() const { return !folder.JournalCalls(L"Plinth").empty(); }

    TestFolder folder;
    LocationValue location;
    ParentWindow parent;
};

TEST_F(ProductMessageBoxTest, TheBoxAsksAndAnswersWithTheButtonTheUserPressed) {
    ASSERT_FALSE(location.Installed().empty());
    for (const int answer : {kPlinthTryAgain, kPlinthStopAsking, IDCANCEL}) {
        MessageBoxWatcher boxes(answer, kPlinthBoxClass);
        EXPECT_EQ(Ask(), answer);
        const auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, L"Move Items");
        EXPECT_EQ(seen[0].text, L"Do you want to try again?");
        EXPECT_EQ(seen[0].owner, parent.get());
        EXPECT_EQ(seen[0].buttons, (std::vector<int>{0x20, 0x100, IDCANCEL}));
    }
    const auto journal = folder.Journal(L"Plinth");
    ASSERT_EQ(journal.size(), 12u);
    EXPECT_EQ(journal[0], (std::vector<std::wstring>{L"Load"}));
    EXPECT_EQ(journal[1], (std::vector<std::wstring>{L"gePlinth", standin::Hex(parent.get()), L"Move Items", L"Do you want to try again?",
                                                     L"0x000101A0", L"0x00000020", L"0"}));
    EXPECT_EQ(journal[2], (std::vector<std::wstring>{L"Answer", L"0x00000020"}));
    EXPECT_EQ(journal[3], (std::vector<std::wstring>{L"Unload"}));  // loaded for one question only
}

TEST_F(ProductMessageBoxTest, ALocationEndingInABackslashWorksAsWell) {
    LocationValue::Set(FolderWith(L"Plinth.dll") + L"\\");
    MessageBoxWatcher boxes(kPlinthTryAgain, kPlinthBoxClass);
    EXPECT_EQ(Ask(), kPlinthTryAgain);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(ProductMessageBoxTest, WithoutTheLibraryOrItsEntryNothingIsShown) {
    MessageBoxWatcher boxes(IDCANCEL, kPlinthBoxClass);
    const std::wstring empty = folder.Root() + L"\\empty";
    CreateDirectoryW(empty.c_str(), nullptr);
    LocationValue::Set(empty);
    EXPECT_EQ(Ask(), 0);

    const std::wstring impostor = FolderWith(L"PlinthNoExport.dll");
    LocationValue::Set(impostor);
    EXPECT_EQ(Ask(), 0);
    EXPECT_EQ(GetModuleHandleW((impostor + L"\\Plinth.dll").c_str()), nullptr);  // unloaded again

    LocationValue::Remove();
    EXPECT_EQ(Ask(), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ProductMessageBoxTest, OnlyANonEmptyPlainStringThatLeavesRoomForTheNameIsUsed) {
    MessageBoxWatcher boxes(IDCANCEL, kPlinthBoxClass);
    const std::wstring valid = FolderWith(L"Plinth.dll");
    LocationValue::Set(valid, REG_EXPAND_SZ);
    EXPECT_EQ(Ask(), 0);
    LocationValue::Set(L"");
    EXPECT_EQ(Ask(), 0);
    // The buffer holds 520 characters: values that leave no room for
    // "\Plinth.dll", and values that do not fit themselves.
    for (const size_t length : {515u, 519u, 520u, 600u}) {
        LocationValue::Set(valid + std::wstring(length - valid.size(), L'\\'));
        EXPECT_EQ(Ask(), 0) << length;
    }
    // A value stored without its terminator that fills the buffer exactly.
    LocationValue::Set(valid + std::wstring(520 - valid.size(), L'\\'), REG_SZ, false);
    EXPECT_EQ(Ask(), 0);
    EXPECT_FALSE(PlinthLoaded());
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
