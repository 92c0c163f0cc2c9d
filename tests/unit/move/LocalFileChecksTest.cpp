// Every local move source must open for exclusive writing; read-only files stay read-only.
#include "move/Mover.h"

#include "HeldFile.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(LocalMovesWritable, SourcesHeldByAnotherProcessAreRefusedInPlanOrder) {
    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    const std::vector<std::wstring> readOnlyFiles = {L"readonly.prt", L"held readonly.prt"};
    for (const wchar_t* name : {L"free.prt", L"held.prt", L"shared.prt", L"Assy\\Top.asm"}) folder.WriteFile(name);
    for (const std::wstring& name : readOnlyFiles) {
        folder.WriteFile(name);
        ASSERT_TRUE(SetFileAttributesW(folder.Path(name).c_str(), readOnly));
    }
    const HeldFile held(folder.Path(L"held.prt"));
    // Sharing everything still keeps out an open that shares nothing.
    const HeldFile shared(folder.Path(L"shared.prt"), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          GENERIC_READ);
    const HeldFile heldReadOnly(folder.Path(L"held readonly.prt"), FILE_SHARE_READ, GENERIC_READ);
    for (const wchar_t* name : {L"shared.prt", L"free.prt", L"readonly.prt", L"missing.prt", L"Assy",
                                L"held readonly.prt", L"held.prt"}) {
        mover.localMoves.Append(new LocalMoveData{nullptr, folder.Path(name), folder.Path(L"to\\") + name});
    }
    mover.CheckLocalMovesWritable();

    std::vector<std::wstring> refused;
    for (const MoveErrorEntry* e : request->errors) {
        EXPECT_EQ(e->code, E_QOR_FILE_SHARE_ERROR);
        EXPECT_EQ(e->newPath, folder.Path(L"to\\") + e->path.substr(folder.Path(L"").size()));
        EXPECT_EQ(e->refFile, nullptr);
        refused.push_back(e->path.substr(folder.Path(L"").size()));
    }
    EXPECT_EQ(refused, (std::vector<std::wstring>{L"shared.prt", L"held readonly.prt", L"held.prt"}));
    for (const std::wstring& name : readOnlyFiles) EXPECT_EQ(GetFileAttributesW(folder.Path(name).c_str()), readOnly);
}

}  // namespace
