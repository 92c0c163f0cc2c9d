// The driver's sequence, results and stops, through ghMove as a host calls it.
#include "ComThread.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class DriverTest : public ::testing::Test {
protected:
    HRESULT Move(bool silent) { return module.Move(parent.Get(), &host, request.get(), silent); }
    // The message boxes a move showed.
    std::vector<SeenBox> BoxesOfMove(bool silent, HRESULT expected) {
        MessageBoxWatcher boxes;
        EXPECT_EQ(Move(silent), expected);
        return boxes.Boxes();
    }

    TestFolder folder;
    ComThread com;  // before the module loads: its texts come from the catalogue service
    LoadedModule module;
    ParentWindow parent;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
};

TEST_F(DriverTest, NullHostOrRequestIsRefusedWithoutTouchingAnything) {
    request.AddFile(7, 2, 3);
    EXPECT_EQ(module.Move(parent.Get(), nullptr, request.get(), false), E_POINTER);
    EXPECT_EQ(module.Move(parent.Get(), &host, nullptr, false), E_POINTER);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(request->items.count, 1);
}

TEST_F(DriverTest, AnEmptyRequestEmptiesTheOutputListsAndRunsTheWholeSequence) {
    request->errors.Append(new MoveErrorEntry(L"a", L"b", E_FAIL, L""));
    request->refErrors.Append(new MoveErrorEntry(L"c", L"d", E_FAIL, L""));
    request->refFiles.Append(new RefFile);
    request->dbErrors.Append(new DbMoveError);
    host.onMoveInDatabase = [](MoveRequest* r) { EXPECT_EQ(r->errors.count + r->refErrors.count, 0); };

    EXPECT_TRUE(BoxesOfMove(false, S_OK).empty());
    EXPECT_EQ(host.calls, (Calls{"ResolveNames", "ListReferenceUpdates", "MoveInDatabase"}));
    for (const auto* list : {&request->errors, &request->refErrors}) {
        EXPECT_TRUE(list->head == nullptr && list->tail == nullptr && list->count == 0);
    }
    EXPECT_EQ(request->refFiles.count + request->dbErrors.count, 0);
    // The file-format manager was loaded for the run and unloaded at its end.
    EXPECT_EQ(folder.JournalCalls(L"Formwright"), (std::vector<std::wstring>{L"Load", L"GetManager", L"Unload"}));
}

TEST_F(DriverTest, EveryIdentifierOfTheRequestIsGivenToTheHostToResolve) {
    request.AddFile(7, 2, 3);
    request.AddFolder(5, 0, L"Renamed");
    request.AddLocal(false, L"C:\\a", L"", 9);        // needs its destination folder
    request.AddLocal(false, L"C:\\b", L"C:\\c", 10);  // has its new path
    request.AddLocal(false, L"C:\\d", L"", 0);        // no destination to resolve
    EXPECT_EQ(Move(true), S_OK);
    EXPECT_EQ(host.askedFolderIds, (std::vector<int32_t>{0, 2, 3, 5, 9}));
    EXPECT_EQ(host.askedFileIds, (std::vector<int32_t>{7}));
    EXPECT_TRUE(host.askedWithEmptyValues);
}

TEST_F(DriverTest, AFailureToResolveStopsAtOnceWithItsCode) {
    host.resolveResult = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    request.AddFile(7, 2, 3);
    EXPECT_TRUE(BoxesOfMove(false, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)).empty());
    EXPECT_EQ(host.calls, (Calls{"ResolveNames"}));
    EXPECT_TRUE(folder.JournalCalls(L"Formwright").empty());
}

// A move's box is tested in the user's language with the report.
TEST_F(DriverTest, AFailedDatabaseChangeIsShownInAnErrorBoxOwnedByTheParentUnlessSilent) {
    constexpr HRESULT kIoError = static_cast<HRESULT>(0x80040228);
    host.moveResult = kIoError;
    request.AddFile(7, 2, 3, L"new.prt");
    EXPECT_TRUE(BoxesOfMove(true, kIoError).empty());
    const auto seen = BoxesOfMove(false, kIoError);
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Rename Item");
    EXPECT_EQ(seen[0].text, L"The item could not be renamed.\nError accessing the file.");
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(seen[0].owner, parent.Get());
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK}));
}

}  // namespace
