// The request's output lists are emptied at the start of every run, their
// elements deleted. Live heap blocks are counted to prove the deletion.
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
    MoveRequest* request = nullptr;
    bool listsWereEmptyWhenNamesWereResolved = false;

    HRESULT ListReferenceUpdates(MoveRequest*) override { return S_OK; }
    HRESULT MoveInDatabase(MoveRequest*) override { return S_OK; }
    HRESULT ResolveNames(FolderPathMap&, FileNameMap&) override {
        listsWereEmptyWhenNamesWereResolved = IsEmpty(request->refFiles) && IsEmpty(request->dbErrors) &&
                                              IsEmpty(request->errors) && IsEmpty(request->refErrors);
        return S_OK;
    }
    HRESULT FindFilesByName(int32_t, const std::vector<std::wstring>*, std::vector<std::shared_ptr<FoundFileRecord>>*,
                            const wchar_t*) override {
        return S_OK;
    }

    template <class T>
    static bool IsEmpty(const Lst<T>& list) {
        return list.head == nullptr && list.tail == nullptr && list.count == 0;
    }
};

std::wstring Long(const wchar_t* text) { return std::wstring(text) + std::wstring(40, L'_'); }

void FillOutputLists(MoveRequest& request, Mover& mover) {
    auto* refFile = new RefFile;
    refFile->oldPath = Long(L"C:\\old");
    refFile->refs.Append(new MoveRef{Long(L"a"), Long(L"b")});
    refFile->refs.Append(new MoveRef{Long(L"c"), Long(L"d")});
    request.refFiles.Append(refFile);
    auto* dbError = new DbMoveError;
    dbError->itemName = Long(L"item");
    request.dbErrors.Append(dbError);
    request.errors.Append(new MoveErrorEntry(Long(L"p"), Long(L"n"), E_FAIL, Long(L"d")));
    request.refErrors.Append(new MoveErrorEntry(refFile, E_FAIL));
    mover.localMoves.Append(new LocalMoveData{nullptr, Long(L"o"), Long(L"n"), false});
}

TEST(OutputLists, AreEmptiedWithEveryElementBeforeTheHostIsAsked) {
    QuietHost host;
    MoveRequest request;
    host.request = &request;
    Mover mover(nullptr, &host, &request, true);
    ASSERT_EQ(mover.Run(), S_OK);  // first use of anything that lives on afterwards

    const long before = g_liveBlocks;
    FillOutputLists(request, mover);
    ASSERT_GT(g_liveBlocks, before + 10);

    EXPECT_EQ(mover.Run(), S_OK);
    EXPECT_TRUE(host.listsWereEmptyWhenNamesWereResolved);
    EXPECT_TRUE(QuietHost::IsEmpty(mover.localMoves));
    EXPECT_EQ(g_liveBlocks, before);
}

}  // namespace
