// The vault client's message box, from the library its installation names in
// the registry; the stand-in's box is answered by a watcher like a user.
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
        RegGetValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, RRF_RT_REG_SZ, nullptr, buffer, &bytes);
        installed = buffer;
    }
    ~LocationValue() { Set(installed); }

    static void Set(const std::wstring& value, DWORD type = REG_SZ, bool terminated = true) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, type, value.c_str(),
                        static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    }
    static void Remove() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue); }

    std::wstring installed;
};

class ProductMessageBoxTest : public ::testing::Test {
protected:
    // A folder of the test holding `library` under the name "Plinth.dll".
    std::wstring FolderWith(const wchar_t* library) const {
        const std::wstring libraryFolder = folder.Root() + L"\\for-" + library;
        CreateDirectoryW(libraryFolder.c_str(), nullptr);
        CopyFileW(LoadedModule::BesideProgram(library).c_str(), (libraryFolder + L"\\Plinth.dll").c_str(), FALSE);
        return libraryFolder;
    }

    int Ask() { return ShowProductMessageBox(L"Move Items", L"Do you want to try again?", parent.get()); }

    TestFolder folder;
    LocationValue location;
    ParentWindow parent;
};

// Loaded for one question only; a location ending in a backslash works as well.
TEST_F(ProductMessageBoxTest, TheBoxAsksAndAnswersWithTheButtonTheUserPressed) {
    ASSERT_FALSE(location.installed.empty());
    MessageBoxWatcher boxes(kPlinthStopAsking, kPlinthBoxClass);
    EXPECT_EQ(Ask(), kPlinthStopAsking);
    EXPECT_EQ(folder.Journal(L"Plinth"),
              (std::vector<std::vector<std::wstring>>{
                  {L"Load"},
                  {L"gePlinth", standin::Hex(parent.get()), L"Move Items", L"Do you want to try again?", L"0x000101A0",
                   L"0x00000020", L"0"},
                  {L"Answer", L"0x00000100"},
                  {L"Unload"}}));

    LocationValue::Set(FolderWith(L"Plinth.dll") + L"\\");
    EXPECT_EQ(Ask(), kPlinthStopAsking);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(ProductMessageBoxTest, WithoutAUsableLocationLibraryOrEntryNothingIsShown) {
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

    // Only a non-empty plain string that leaves room for the library's name is used.
    const std::wstring valid = FolderWith(L"Plinth.dll");
    LocationValue::Set(valid, REG_EXPAND_SZ);
    EXPECT_EQ(Ask(), 0);
    LocationValue::Set(L"");
    EXPECT_EQ(Ask(), 0);
    // A value stored without its terminator that fills the buffer of 520 characters.
    LocationValue::Set(valid + std::wstring(520 - valid.size(), L'\\'), REG_SZ, false);
    EXPECT_EQ(Ask(), 0);
    EXPECT_TRUE(folder.JournalCalls(L"Plinth").empty());
    // The full path must fit in the buffer too: 509 characters leave room for
    // "Plinth.dll", 510 do not, and 520 do not fit themselves.
    for (const size_t length : {509u, 510u, 520u}) {
        LocationValue::Set(valid + std::wstring(length - valid.size(), L'\\'));
        EXPECT_EQ(Ask(), length == 509 ? IDCANCEL : 0) << length;
    }
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

}  // namespace
