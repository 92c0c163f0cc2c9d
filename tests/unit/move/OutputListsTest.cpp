// Emptying the output lists deletes every element, a RefFile's MoveRefs with
// it: live heap blocks are counted to prove it.
#include "move/Mover.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_liveBlocks{0};
}  // namespace

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    ++g_liveBlocks;
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    --g_liveBlocks;
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

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
    const long before = g_liveBlocks;
    auto* refFile = new RefFile;
    refFile->refs.Append(new MoveRef{heap, heap});
    refFile->refs.Append(new MoveRef{heap, heap});
    request.refFiles.Append(refFile);
    request.dbErrors.Append(new DbMoveError{0, 0, 0, heap, 1, heap, heap, heap, heap});
    request.errors.Append(new MoveErrorEntry(heap, heap, E_FAIL, heap));
    request.refErrors.Append(new MoveErrorEntry(refFile, E_FAIL));
    mover.localMoves.Append(new LocalMoveData{nullptr, heap, heap, false});
    ASSERT_GT(g_liveBlocks, before + 10);

    EXPECT_EQ(mover.Run(), S_OK);
    EXPECT_EQ(mover.localMoves.count, 0);
    EXPECT_EQ(g_liveBlocks, before);
}

}  // namespace
