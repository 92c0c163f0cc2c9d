// Inside the CAD application (this test program is built as "brimwork.exe")
// its own documents are open, so files are not tested for being held.
#include "HeldFile.h"
#include "LoadedModule.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(InsideCad, HeldDocumentsDoNotStopTheOperation) {
    CoInitialize(nullptr);
    {
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
    CoUninitialize();
}

}  // namespace
