// Out of memory at each allocation of a run in turn: nothing is thrown at the caller, nothing is left behind.
#include "common/RefObj.h"
#include "module/ModuleStartup.h"
#include "module/Translate.h"
#include "move/Mover.h"
#include "ComThread.h"
#include "FailingAllocator.h"
#include "HeapBytes.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

// Heap that a run may leave in Wine's own caches and in the watcher's records.
constexpr size_t kHeapSlack = 16 * 1024;

bool Has(const Rows& journal, const wchar_t* call) {
    return std::any_of(journal.begin(), journal.end(), [call](const auto& row) { return row[0] == call; });
}

// Does `act` with the 1st, 2nd, ... allocation failed, and `check`s each run
// that had one, until a run is not cut short; returns how many runs were.
size_t Walk(const std::function<void()>& act, const std::function<void(size_t n)>& check) {
    size_t n = 1;
    for (;; ++n) {
        FailAllocation(n);
        bool thrown = false;
        try {
            act();
        } catch (...) {
            thrown = true;
        }
        const bool failed = StopFailing();
        EXPECT_FALSE(thrown) << "allocation " << n << " let an exception out";
        if (!failed) return n - 1;
        check(n);
        if (::testing::Test::HasFailure()) return n;
    }
}

class AllocationFailureTest : public ::testing::Test {
protected:
    TestFolder folder;
    ParentWindow parent;
};

// A report with failures of every source: refused by the database (three
// kinds, one counted twice, one a name used twice), failed on the local disk,
// references not updated. It is shown, or its fallback box says it could not be; once the
// dialog runs, a failure inside one of the report's methods stays there.
TEST_F(AllocationFailureTest, TheReportIsShownOrExplainedWhicheverAllocationFails) {
    RecordingHost host;
    OwnedRequest request{L"C:\\Vault"};
    request.AddFile(7, 2, 3);
    for (const int32_t kind : {2, 2, 3, 6}) {
        request->dbErrors.Append(new DbMoveError{7, 0, 0, L"", kind, L"shaft.prt", L"shaft-2.prt",
                                                 L"\\Projects\\Gear\\", L"\\Archive\\"});
    }
    request->errors.Append(
        new MoveErrorEntry(L"C:\\Vault\\a.prt", L"C:\\Vault\\B\\a.prt", E_QOR_FILE_SHARE_ERROR, L""));
    auto* refFile = new RefFile;
    refFile->oldPath = L"C:\\Vault\\Asm\\top.asm";
    request->refFiles.Append(refFile);
    request->refErrors.Append(new MoveErrorEntry(refFile, E_QOR_IO_ERROR));
    Mover mover{parent.Get(), &host, request.get(), false};
    folder.Configure(L"ReportDialog", {L"snapshot=" + folder.Root() + L"\\report.png", L"snapshot-close=1"});
    MessageBoxWatcher boxes;
    const std::wstring journal = folder.StandinDir() + L"\\ReportDialog.journal";

    const std::wstring description = L"Some items could not be moved.";
    const auto show = [&] { mover.ShowMoveErrors(description, true); };
    show();  // Wine's caches fill once
    ASSERT_EQ(boxes.Boxes().size(), 0u);
    const LONG objects = RefObj::LiveObjects();
    const size_t heap = HeapBytesInUse();
    size_t seenBoxes = 0;
    const auto act = [&] {
        DeleteFileW(journal.c_str());
        show();
    };
    const size_t failures = Walk(act, [&](size_t n) {
        const Rows calls = folder.Journal(L"ReportDialog");
        const auto seen = boxes.Boxes();
        const bool boxed = seen.size() > seenBoxes;
        seenBoxes = seen.size();
        EXPECT_NE(Has(calls, L"Closed"), boxed) << "allocation " << n;
        if (Has(calls, L"Show")) {
            EXPECT_TRUE(Has(calls, L"Closed")) << "allocation " << n << " escaped the dialog";
        }
        if (boxed) {
            EXPECT_EQ(seen.back().text.rfind(L"Could not display dialog box with error messages:", 0), 0u);
        }
        EXPECT_EQ(RefObj::LiveObjects(), objects) << "allocation " << n;
    });
    EXPECT_GT(failures, 10u);  // the walk reached into the report
    EXPECT_LT(HeapBytesInUse(), heap + kHeapSlack);
}

// Loading the library: whichever allocation fails, the loader's call returns
// and the module speaks English; only a start-up that needed nothing more
// than it got has the service's texts.
TEST_F(AllocationFailureTest, AStartUpWithoutMemoryLeavesEnglishTexts) {
    const ComThread com;
    folder.WriteCatalog({L"Move\t\t0x10\tElemente verschieben"});
    OnProcessAttach(nullptr);  // Wine's caches fill once
    OnProcessDetach(false);
    const size_t heap = HeapBytesInUse();
    const size_t failures = Walk([] { OnProcessAttach(nullptr); }, [&](size_t n) {
        EXPECT_EQ(TextCatalogService(), nullptr) << "allocation " << n;
        EXPECT_EQ(Translate(Msg::CaptionMove), L"Move Items");
        OnProcessDetach(false);
    });
    EXPECT_GT(failures, 0u);
    EXPECT_EQ(Translate(Msg::CaptionMove), L"Elemente verschieben");  // the run that was not cut short
    OnProcessDetach(false);
    EXPECT_LT(HeapBytesInUse(), heap + kHeapSlack);
}

}  // namespace
