#include "filerefs/FileFormatLoader.h"

#include "interfaces/FileFormatMgr.h"
#include "LoadedModule.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(LibraryPathBeside, ReplacesTheModuleNameWithTheLibraryName) {
    EXPECT_EQ(LibraryPathBeside(L"C:\\Program Files\\Client\\GhMove.dll"), L"C:\\Program Files\\Client\\Formwright.dll");
    EXPECT_EQ(LibraryPathBeside(L"C:\\GhMove.dll"), L"C:\\Formwright.dll");
}

TEST(LibraryPathBeside, APathWithoutBackslashNamesNoFolder) {
    EXPECT_EQ(LibraryPathBeside(L"GhMove.dll"), std::nullopt);
    EXPECT_EQ(LibraryPathBeside(L""), std::nullopt);
}

TEST(LibraryPathBeside, TheNameMustFitTheBufferOf261) {
    // "\Formwright.dll" and its terminator take 16 characters after the folder.
    const std::wstring fits = L"C:" + std::wstring(243, L'a');   // 245 characters: ends at 245 + 16 = 261
    ASSERT_EQ(fits.size(), 245u);
    const auto path = LibraryPathBeside((fits + L"\\m.dll").c_str());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->size(), 260u);
    EXPECT_EQ(LibraryPathBeside((fits + L"a\\m.dll").c_str()), std::nullopt);
    EXPECT_EQ(LibraryPathBeside((L"C:\\" + std::wstring(400, L'b')).c_str()), std::nullopt);
}

class LoaderTest : public ::testing::Test {
protected:
    std::wstring Beside(const wchar_t* name) { return LoadedModule::BesideProgram(name); }
    TestFolder folder;
};

TEST_F(LoaderTest, TheLibraryIsLoadedOnceAndUnloadedWithTheLoader) {
    {
        FileFormatLoader loader;
        ASSERT_TRUE(loader.LocateLibrary(Beside(L"GhMove.dll").c_str()));
        EXPECT_EQ(loader.LibraryPath(), Beside(L"Formwright.dll"));
        FileFormatMgr* first = loader.GetManager();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(loader.GetManager(), first);
        EXPECT_NE(GetModuleHandleW(Beside(L"Formwright.dll").c_str()), nullptr);
    }
    EXPECT_EQ(GetModuleHandleW(Beside(L"Formwright.dll").c_str()), nullptr);
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

TEST_F(LoaderTest, WithoutTheLibraryThereIsNoManager) {
    FileFormatLoader loader;
    ASSERT_TRUE(loader.LocateLibrary((folder.Root() + L"\\GhMove.dll").c_str()));
    EXPECT_EQ(loader.GetManager(), nullptr);
}

TEST_F(LoaderTest, WithoutLocatingThereIsNoManager) {
    FileFormatLoader loader;
    EXPECT_EQ(loader.GetManager(), nullptr);
    EXPECT_TRUE(folder.JournalCalls(L"Formwright").empty());
}

TEST_F(LoaderTest, ANullManagerFreesTheLibraryAgain) {
    folder.Configure(L"Formwright", {L"export-null=1"});
    FileFormatLoader loader;
    ASSERT_TRUE(loader.LocateLibrary(Beside(L"GhMove.dll").c_str()));
    EXPECT_EQ(loader.GetManager(), nullptr);
    EXPECT_EQ(GetModuleHandleW(Beside(L"Formwright.dll").c_str()), nullptr);
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

TEST_F(LoaderTest, ALibraryWithoutTheExportIsFreedAgain) {
    const std::wstring impostor = folder.Root() + L"\\Formwright.dll";
    ASSERT_TRUE(CopyFileW(Beside(L"FormwrightNoExport.dll").c_str(), impostor.c_str(), FALSE));
    {
        FileFormatLoader loader;
        ASSERT_TRUE(loader.LocateLibrary((folder.Root() + L"\\GhMove.dll").c_str()));
        EXPECT_EQ(loader.GetManager(), nullptr);
        EXPECT_EQ(GetModuleHandleW(impostor.c_str()), nullptr);
    }
}

TEST_F(LoaderTest, TheLibraryIsLookedForBesideTheModule) {
    // In this test program the module's code lies in the program itself.
    FileFormatLoader loader;
    ASSERT_TRUE(loader.LocateLibrary());
    EXPECT_EQ(loader.LibraryPath(), Beside(L"Formwright.dll"));
}

}  // namespace
