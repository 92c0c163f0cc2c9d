// Every local move source must open for exclusive writing; read-only files are
// tested as writable and stay read-only, folders are never tested.
#include "move/Mover.h"

#include "HeldFile.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

class LocalMovesWritableTest : public ::testing::Test {
protected:
    void Plan(const std::wstring& relative) {
        mover.localMoves.Append(new LocalMoveData{nullptr, folder.Path(relative), folder.Path(L"to\\" + relative)});
    }
    DWORD Attributes(const std::wstring& relative) const { return GetFileAttributesW(folder.Path(relative).c_str()); }
    std::vector<std::wstring> Refused() {
        std::vector<std::wstring> paths;
        for (const MoveErrorEntry* e : request->errors) {
            EXPECT_EQ(e->code, E_QOR_FILE_SHARE_ERROR);
            EXPECT_EQ(e->newPath, folder.Path(L"to\\") + e->path.substr(folder.Path(L"").size()));
            EXPECT_EQ(e->refFile, nullptr);
            paths.push_back(e->path.substr(folder.Path(L"").size()));
        }
        return paths;
    }

    TestFolder folder;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    Mover mover{nullptr, &host, request.get(), true};
};

TEST_F(LocalMovesWritableTest, SourcesHeldByAnotherProcessAreRefusedInPlanOrder) {
    for (const wchar_t* name : {L"free.prt", L"held.prt", L"shared.prt", L"readonly.prt"}) folder.WriteFile(name);
    const HeldFile held(folder.Path(L"held.prt"));
    // Sharing everything still keeps out an open that shares nothing.
    const HeldFile shared(folder.Path(L"shared.prt"), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          GENERIC_READ);
    for (const wchar_t* name : {L"shared.prt", L"free.prt", L"missing.prt", L"held.prt"}) Plan(name);
    mover.CheckLocalMovesWritable();
    EXPECT_EQ(Refused(), (std::vector<std::wstring>{L"shared.prt", L"held.prt"}));
}

TEST_F(LocalMovesWritableTest, ReadOnlySourcesAreTestedAsWritableAndStayReadOnly) {
    folder.WriteFile(L"free.prt");
    folder.WriteFile(L"held.prt");
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    for (const wchar_t* name : {L"free.prt", L"held.prt"}) {
        ASSERT_TRUE(SetFileAttributesW(folder.Path(name).c_str(), readOnly));
    }
    const HeldFile held(folder.Path(L"held.prt"), FILE_SHARE_READ, GENERIC_READ);
    Plan(L"free.prt");
    Plan(L"held.prt");
    mover.CheckLocalMovesWritable();
    EXPECT_EQ(Refused(), std::vector<std::wstring>{L"held.prt"});
    EXPECT_EQ(Attributes(L"free.prt"), readOnly);
    EXPECT_EQ(Attributes(L"held.prt"), readOnly);
}

// A folder does not open for writing; it must not be tried.
TEST_F(LocalMovesWritableTest, FoldersAreNeverTested) {
    folder.WriteFile(L"Assy\\Top.asm");
    Plan(L"Assy");
    mover.CheckLocalMovesWritable();
    EXPECT_TRUE(Refused().empty());
}

}  // namespace
