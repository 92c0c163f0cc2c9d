// Without a usable file-format manager every operation is refused before the database changes, silently.
#include "ComThread.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class FileFormatManagerTest : public ::testing::Test {
protected:
    // A copy of the module in its own folder, optionally with a library named like the manager beside it.
    std::wstring InstallModuleCopy(const wchar_t* managerSource) {
        const std::wstring dir = folder.Root() + L"\\install\\";
        CreateDirectoryW(dir.c_str(), nullptr);
        const auto copy = [&dir](const wchar_t* source, const wchar_t* name) {
            EXPECT_TRUE(CopyFileW(LoadedModule::BesideProgram(source).c_str(), (dir + name).c_str(), FALSE)) << name;
        };
        copy(L"GhMove.dll", L"GhMove.dll");
        if (managerSource) copy(managerSource, L"Formwright.dll");
        return dir + L"GhMove.dll";
    }

    void ExpectRefusedBeforeTheDatabase(const LoadedModule& module) {
        MessageBoxWatcher boxes;
        request.AddFile(7, 2, 3);
        EXPECT_EQ(module.Move(parent.Get(), &host, request.get(), false), E_QOR_MISSING_ORAVANE_MODULE);
        EXPECT_EQ(host.calls, (Calls{"ResolveNames"}));
        EXPECT_TRUE(boxes.Boxes().empty());
    }

    TestFolder folder;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    ComThread com;
};

TEST_F(FileFormatManagerTest, AMissingLibraryRefusesTheOperation) {
    LoadedModule module(InstallModuleCopy(nullptr));
    ExpectRefusedBeforeTheDatabase(module);
}

TEST_F(FileFormatManagerTest, ALibraryWithoutTheExportRefusesTheOperation) {
    LoadedModule module(InstallModuleCopy(L"FormwrightNoExport.dll"));
    ExpectRefusedBeforeTheDatabase(module);
}

TEST_F(FileFormatManagerTest, ANullManagerRefusesTheOperationAndTheLibraryIsFreed) {
    folder.Configure(L"Formwright", {L"export-null=1"});
    LoadedModule module;
    ExpectRefusedBeforeTheDatabase(module);
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

}  // namespace
