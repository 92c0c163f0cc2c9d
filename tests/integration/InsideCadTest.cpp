// Inside the CAD application (this program is named like it) its documents are open: held files do not stop a move.
#include "ComThread.h"
#include "HeldFile.h"
#include "LoadedModule.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(InsideCad, HeldDocumentsDoNotStopTheOperation) {
    const ComThread com;
    TestFolder folder;
    folder.WriteFile(L"Assy\\Top.asm", "FWTEXT 1\r\n");
    RecordingHost host;
    host.onListReferenceUpdates = [&folder](MoveRequest* r) {
        r->refFiles.Append(new RefFile);
        r->refFiles.head->value->oldPath = folder.Path(L"Assy\\Top.asm");
    };
    OwnedRequest request(folder.LocalRoot());
    const HeldFile held(folder.Path(L"Assy\\Top.asm"));
    EXPECT_EQ(LoadedModule().Move(nullptr, &host, request.get(), true), S_OK);
    EXPECT_EQ(host.calls.back(), "MoveInDatabase");
    EXPECT_EQ(request->errors.count, 0);
    // The rewrite itself could not open the held document.
    ASSERT_EQ(request->refErrors.count, 1);
    EXPECT_EQ(request->refErrors.head->value->refFile, request->refFiles.head->value);
}

}  // namespace
