// Emptying the output lists deletes every element, a RefFile's MoveRefs with it.
#include "HeapBytes.h"
#include "common/Handles.h"
#include "move/Mover.h"

#include <gtest/gtest.h>

namespace {

// Allocates nothing itself, so that every block counted is the request's.
class QuietHost : public MoveHost {
public:
    HRESULT ListReferenceUpdates(MoveRequest*) override { return S_OK; }
    HRESULT MoveInDatabase(MoveRequest*) override { return S_OK; }
    HRESULT ResolveNames(FolderPathMap&, FileNameMap&) override { return S_OK; }
    HRESULT FindFilesByName(int32_t, const std::vector<std::wstring>*, std::vector<std::shared_ptr<FoundFileRecord>>*,
                            const wchar_t*) override {
        return S_OK;
    }
};

TEST(OutputLists, AreEmptiedWithEveryElement) {
    QuietHost host;
    MoveRequest request;
    Mover mover(nullptr, &host, &request, true);
    ASSERT_EQ(mover.Run(), S_OK);  // first use of anything that lives on afterwards

    const std::wstring heap(40, L'_');  // long enough for every string to own a block
    // Every run loads and frees the file-format manager, and under Wine each unload of a library with its own static
    // runtime keeps a block for good.
    const UniqueLibrary manager(LoadLibraryW(L"Formwright.dll"));
    ASSERT_TRUE(manager);
    // Filled and emptied again and again, the heaps hold no more blocks than after the first time: what the lists held
    // went every time.
    const auto fillAndEmpty = [&] {
        const size_t before = HeapInUse().blocks;
        auto* refFile = new RefFile;
        refFile->refs.Append(new MoveRef{heap, heap});
        refFile->refs.Append(new MoveRef{heap, heap});
        request.refFiles.Append(refFile);
        request.dbErrors.Append(new DbMoveError{0, 0, 0, heap, 1, heap, heap, heap, heap});
        request.errors.Append(new MoveErrorEntry(heap, heap, E_FAIL, heap));
        request.refErrors.Append(new MoveErrorEntry(refFile, E_FAIL));
        mover.localMoves.Append(new LocalMoveData{nullptr, heap, heap, false});
        EXPECT_GT(HeapInUse().blocks, before + 10);
        EXPECT_EQ(mover.Run(), S_OK);
        EXPECT_EQ(mover.localMoves.count, 0);
        return HeapInUse().blocks;
    };
    const size_t afterFirst = fillAndEmpty();
    EXPECT_EQ(fillAndEmpty(), afterFirst);
    EXPECT_EQ(fillAndEmpty(), afterFirst);
}

}  // namespace
