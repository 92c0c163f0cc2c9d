#include "referencehost/Recovery.h"

#include "common/Handles.h"
#include "referencehost/MoveIntent.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <map>

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

std::wstring Parent(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

std::wstring ErrorNumber(DWORD error) { return L" (error " + std::to_wstring(error) + L")"; }

void EnsureFolder(const std::wstring& path) {
    if (path.size() <= 3 || Exists(path)) return;
    EnsureFolder(Parent(path));
    CreateDirectoryW(path.c_str(), nullptr);
}

bool ReadWhole(const std::wstring& path, std::string& content) {
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size)) return false;
    content.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return content.empty() || (ReadFile(file.Get(), &content[0], static_cast<DWORD>(content.size()), &read, nullptr) &&
                               read == content.size());
}

bool SameBytes(const std::wstring& a, const std::wstring& b) {
    std::string first, second;
    return ReadWhole(a, first) && ReadWhole(b, second) && first == second;
}

// The reference pairs of one document; the list owns its pairs.
struct DocumentRefs {
    DocumentRefs() = default;
    DocumentRefs(const DocumentRefs&) = delete;
    DocumentRefs& operator=(const DocumentRefs&) = delete;
    ~DocumentRefs() { refs.DeleteAll(); }
    Lst<MoveRef*> refs;
};

class IntentRecovery {
public:
    IntentRecovery(const MoveIntent& intent, FileFormatMgr* manager) : intent_(intent), manager_(manager) {}

    std::vector<std::wstring> Run() {
        for (const PathMove& move : intent_.moves) {
            if (move.isFolder) EnsureFolder(move.newPath);
        }
        for (const PathMove& move : intent_.moves) {
            if (!move.isFolder) FinishFileMove(move);
        }
        RemoveOldFolders();
        RewriteReferences();
        return problems_;
    }

private:
    void FinishFileMove(const PathMove& move) {
        const bool atOld = Exists(move.oldPath), atNew = Exists(move.newPath);
        if (SamePath(move.oldPath, move.newPath)) {
            // Only the letter case changes: the file is at both paths.
            if (!MoveFileExW(move.oldPath.c_str(), move.newPath.c_str(), 0) && !atNew) Problem(L"could not rename", move);
        } else if (atOld && !atNew) {
            EnsureFolder(Parent(move.newPath));
            if (!MoveFileExW(move.oldPath.c_str(), move.newPath.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
                Problem(L"could not move", move, GetLastError());
            }
        } else if (atOld && atNew) {
            // A copy that ended: the old one goes only when it holds nothing else.
            if (!SameBytes(move.oldPath, move.newPath) || !DeleteFileW(move.oldPath.c_str())) {
                Problem(L"kept both copies of", move);
            }
        } else if (!atNew) {
            Problem(L"found at neither path", move);
        }
    }

    // Deepest first, so that a folder is empty once its sub-folders went.
    void RemoveOldFolders() {
        std::vector<const PathMove*> folders;
        for (const PathMove& move : intent_.moves) {
            if (move.isFolder && !SamePath(move.oldPath, move.newPath)) folders.push_back(&move);
        }
        std::sort(folders.begin(), folders.end(),
                  [](const PathMove* a, const PathMove* b) { return a->oldPath.size() > b->oldPath.size(); });
        for (const PathMove* move : folders) {
            if (Exists(move->oldPath) && !RemoveDirectoryW(move->oldPath.c_str())) {
                problems_.push_back(L"left in place (not empty): " + move->oldPath);
            }
        }
    }

    // A reference already rewritten no longer matches its old path, so
    // rewriting again changes nothing.
    void RewriteReferences() {
        std::map<std::wstring, DocumentRefs> documents;
        std::vector<std::wstring> order;
        for (const ReferenceChange& change : intent_.rewrites) {
            auto [document, isNew] = documents.try_emplace(change.path);
            if (isNew) order.push_back(change.path);
            document->second.refs.Append(new MoveRef{change.oldRef, change.newRef});
        }
        for (const std::wstring& path : order) {
            Lst<MoveRef*>& refs = documents.at(path).refs;
            const HRESULT hr = manager_ ? manager_->UpdateReferencePaths(path.c_str(), &refs, 0, 0, 0, 0) : E_POINTER;
            if (FAILED(hr)) problems_.push_back(L"references not rewritten in " + path + ErrorNumber(static_cast<DWORD>(hr)));
        }
    }

    void Problem(const wchar_t* what, const PathMove& move, DWORD error = 0) {
        problems_.push_back(std::wstring(what) + L" " + move.oldPath + L" -> " + move.newPath +
                            (error ? ErrorNumber(error) : L""));
    }

    const MoveIntent& intent_;
    FileFormatMgr* manager_;
    std::vector<std::wstring> problems_;
};

}  // namespace

RecoveryReport Recover(Database& db, FileFormatMgr* manager) {
    RecoveryReport report;
    for (const MoveIntent& intent : PendingIntents(db)) {
        const std::vector<std::wstring> problems = IntentRecovery(intent, manager).Run();
        if (!problems.empty()) {
            report.problems.insert(report.problems.end(), problems.begin(), problems.end());
            continue;
        }
        Transaction transaction(db);
        DeleteIntent(db, intent.id);
        transaction.Commit();
        ++report.finished;
    }
    return report;
}
