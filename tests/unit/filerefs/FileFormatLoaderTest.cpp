// The loader's own rules; what a missing or faulty library does to a run is tested through ghMove.
#include "filerefs/FileFormatLoader.h"

#include "interfaces/FileFormatMgr.h"
#include "LoadedModule.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(LibraryPathBeside, ReplacesTheModuleNameInABufferOf261) {
    EXPECT_EQ(LibraryPathBeside(L"C:\\Program Files\\Client\\GhMove.dll"), L"C:\\Program Files\\Client\\Formwright.dll");
    EXPECT_EQ(LibraryPathBeside(L"GhMove.dll"), std::nullopt);  // no backslash: no folder
    // "\Formwright.dll" and its terminator take 16 characters after the folder.
    const std::wstring fits = L"C:" + std::wstring(243, L'a');
    const auto path = LibraryPathBeside((fits + L"\\m.dll").c_str());
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->size(), 260u);
    EXPECT_EQ(LibraryPathBeside((fits + L"a\\m.dll").c_str()), std::nullopt);
    EXPECT_EQ(LibraryPathBeside((L"C:\\" + std::wstring(400, L'b')).c_str()), std::nullopt);
}

TEST(FileFormatLoader, LoadsTheLibraryBesideTheModuleOnceAndUnloadsItWithTheLoader) {
    const TestFolder folder;
    const std::wstring library = LoadedModule::BesideProgram(L"Formwright.dll");
    {
        FileFormatLoader loader;
        ASSERT_TRUE(loader.LocateLibrary());  // the module's code lies in this test program
        EXPECT_EQ(loader.LibraryPath(), library);
        FileFormatMgr* first = loader.GetManager();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(loader.GetManager(), first);
        EXPECT_NE(GetModuleHandleW(library.c_str()), nullptr);
    }
    EXPECT_EQ(GetModuleHandleW(library.c_str()), nullptr);
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

}  // namespace
