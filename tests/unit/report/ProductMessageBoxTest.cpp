// The vault client's message box, from the library its installation names in the registry.
#include "installation/standin/Journal.h"
#include "installation/standin/StandinWindows.h"
#include "interfaces/Plinth.h"
#include "report/ProductMessageBox.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

void SetLocation(const std::wstring& value, DWORD type = REG_SZ, bool terminated = true) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, type, value.c_str(),
                    static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
}

// Each test may change the "Location" value; the installed one is put back after.
class ProductMessageBoxTest : public ::testing::Test {
protected:
    ProductMessageBoxTest() {
        wchar_t buffer[1024] = {};
        DWORD bytes = sizeof(buffer);
        RegGetValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue, RRF_RT_REG_SZ, nullptr, buffer, &bytes);
        installed = buffer;
    }
    ~ProductMessageBoxTest() override { SetLocation(installed); }

    // A folder of the test holding `library` under the name "Plinth.dll".
    std::wstring FolderWith(const wchar_t* library) const {
        const std::wstring libraryFolder = folder.Root() + L"\\for-" + library;
        CreateDirectoryW(libraryFolder.c_str(), nullptr);
        CopyFileW(LoadedModule::BesideProgram(library).c_str(), (libraryFolder + L"\\Plinth.dll").c_str(), FALSE);
        return libraryFolder;
    }

    int Ask() { return ShowProductMessageBox(L"Move Items", L"Do you want to try again?", parent.Get()); }

    TestFolder folder;
    std::wstring installed;
    ParentWindow parent;
};

// Loaded for one question only, from a location with or without a final backslash; only a non-empty plain string naming
// a folder with the library and its entry is used, and only while the full path fits in the buffer.
TEST_F(ProductMessageBoxTest, TheBoxAsksOnlyThroughAUsableLocationLibraryAndEntry) {
    MessageBoxWatcher boxes(kPlinthStopAsking, kPlinthBoxClass);
    const std::wstring valid = FolderWith(L"Plinth.dll"), impostor = FolderWith(L"PlinthNoExport.dll");
    SetLocation(valid + L"\\");
    EXPECT_EQ(Ask(), kPlinthStopAsking);
    EXPECT_EQ(folder.Journal(L"Plinth"),
              (std::vector<std::vector<std::wstring>>{
                  {L"Load"},
                  {L"gePlinth", standin::Hex(parent.Get()), L"Move Items", L"Do you want to try again?", L"0x000101A0",
                   L"0x00000020", L"0"},
                  {L"Answer", L"0x00000100"},
                  {L"Unload"}}));

    for (const auto& [value, type] : std::vector<std::pair<std::wstring, DWORD>>{
             {folder.Root(), REG_SZ}, {impostor, REG_SZ}, {valid, REG_EXPAND_SZ}, {L"", REG_SZ}}) {
        SetLocation(value, type);
        EXPECT_EQ(Ask(), 0) << value;
    }
    EXPECT_EQ(GetModuleHandleW((impostor + L"\\Plinth.dll").c_str()), nullptr);  // unloaded again
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPlinthKey, kPlinthLocationValue);
    EXPECT_EQ(Ask(), 0);
    // A value stored without its terminator that fills the buffer of 520 characters.
    SetLocation(valid + std::wstring(520 - valid.size(), L'\\'), REG_SZ, false);
    EXPECT_EQ(Ask(), 0);
    // 509 characters leave room for "Plinth.dll", 510 do not, and 520 do not fit themselves.
    for (const size_t length : {509u, 510u, 520u}) {
        SetLocation(valid + std::wstring(length - valid.size(), L'\\'));
        EXPECT_EQ(Ask(), length == 509 ? kPlinthStopAsking : 0) << length;
    }
}

}  // namespace
