// GhMove.h - the contract between the vault client (the host) and GhMove.dll.
//
// A host fills a MoveRequest, implements MoveHost and calls ghMove. Field order,
// field types and slot order below are binary contract: do not reorder.
//
// What a host must share with the module:
//  - the compiler and its C++ standard library (MinGW-w64 GCC, libstdc++ of the
//    same version): the request holds std::wstring, the host callbacks take
//    std::map, std::vector and std::shared_ptr, and both sides read them;
//  - the C runtime heap (msvcrt's malloc/free, which operator new/delete use):
//    list elements are created by one side and deleted by the other;
//  - the COM task allocator for list nodes (Lst<T> below does this itself).
// A failure raised by a COM component during the call leaves ghMove as a
// ComError exception (below) after every object of the call was destroyed.
// For the host to catch it, per target:
//  - x86_64: nothing to ship or link. Exceptions unwind with SEH, which
//    crosses modules that each carry their own GCC runtime: GhMove.dll links
//    libgcc, libstdc++ and winpthread statically and imports only Windows
//    system DLLs and Dalbrook.dll; the host may link its runtime statically
//    or shared.
//  - i686: exceptions unwind with DWARF-2 tables, which only one libgcc in
//    the process can walk from the module's frames into the host's; with the
//    runtime linked statically on either side, ghMove's exception ends in
//    std::terminate. GhMove.dll imports the GCC runtime of the MinGW-w64
//    installation it was built with: libgcc_s_dw2-1.dll, libstdc++-6.dll
//    and libwinpthread-1.dll. The host links that same runtime shared (g++
//    with -shared-libgcc; neither -static nor -static-libgcc nor
//    -static-libstdc++) and ships the three DLLs beside its program; without
//    one the program does not start (exit code 53, no message).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Result codes that a host sees from ghMove or in MoveErrorEntry::code.
constexpr HRESULT E_QOR_FILE_SHARE_ERROR = static_cast<HRESULT>(0x8004020B);
constexpr HRESULT E_QOR_NAME_ALREADY_EXISTS = static_cast<HRESULT>(0x8004020F);
constexpr HRESULT E_QOR_OPERATION_REFUSED_BY_PLUGIN = static_cast<HRESULT>(0x8004021A);
constexpr HRESULT E_QOR_INVALID_NAME = static_cast<HRESULT>(0x8004021D);
constexpr HRESULT E_QOR_IO_ERROR = static_cast<HRESULT>(0x80040228);
constexpr HRESULT E_QOR_NO_MATCHING_PLUGIN = static_cast<HRESULT>(0x8004022A);
constexpr HRESULT E_QOR_MISSING_ORAVANE_MODULE = static_cast<HRESULT>(0x80040272);

// ---------------------------------------------------------------------------
// Lst<T>: doubly linked list whose nodes come from the COM task allocator, so
// that either side of the contract can free them. Elements are appended at the
// tail. A list of pointers frees only its nodes; the elements' owner deletes them.
// What a list holds is what walking `next` from `head` reaches: emptiness,
// clearing and iteration never read `count`, `tail` or `prev`, so a list whose
// count or tail disagrees with its nodes is read and freed by its nodes.
template <class T>
class Lst {
public:
    struct Node {
        T value;
        Node* next;
        Node* prev;
    };

    Lst() = default;
    Lst(const Lst&) = delete;
    Lst& operator=(const Lst&) = delete;
    virtual ~Lst() { Clear(); }

    Node* Append(const T& value) {
        Node* node = NewNode(value);
        node->prev = tail;
        if (tail) tail->next = node;
        tail = node;
        if (!head) head = node;
        ++count;
        return node;
    }

    // Links a new element in front of `before`; it becomes the head when
    // `before` was the head.
    Node* InsertBefore(Node* before, const T& value) {
        Node* node = NewNode(value);
        node->next = before;
        node->prev = before->prev;
        if (before->prev) before->prev->next = node; else head = node;
        before->prev = node;
        ++count;
        return node;
    }

    // Unlinks and frees one node; returns its successor.
    Node* Remove(Node* node) {
        Node* next = node->next;
        if (node->prev) node->prev->next = next; else head = next;
        if (next) next->prev = node->prev; else tail = node->prev;
        node->value.~T();
        CoTaskMemFree(node);
        --count;
        return next;
    }

    // Frees every node reached from the head; elements that are pointers are
    // not deleted. The list is left with null head and tail and a count of 0.
    void Clear() {
        for (Node* n = head; n;) {
            Node* const next = n->next;
            n->value.~T();
            CoTaskMemFree(n);
            n = next;
        }
        head = nullptr;
        tail = nullptr;
        count = 0;
    }

    // Deletes every element, then frees the nodes (for lists of owned pointers).
    void DeleteAll() {
        for (Node* n = head; n; n = n->next) delete n->value;
        Clear();
    }

    bool Empty() const { return head == nullptr; }

    class Iterator {
    public:
        explicit Iterator(Node* n) : node_(n) {}
        T& operator*() const { return node_->value; }
        Iterator& operator++() { node_ = node_->next; return *this; }
        bool operator!=(const Iterator& o) const { return node_ != o.node_; }
    private:
        Node* node_;
    };
    Iterator begin() const { return Iterator(head); }
    Iterator end() const { return Iterator(nullptr); }

    Node* head = nullptr;
    Node* tail = nullptr;
    int32_t count = 0;

private:
    static Node* NewNode(const T& value) {
        void* memory = CoTaskMemAlloc(sizeof(Node));
        if (!memory) throw std::bad_alloc();
        return new (memory) Node{value, nullptr, nullptr};
    }
};

// ---------------------------------------------------------------------------
// Request records. The host owns the request and its inputs; the module
// empties and refills refFiles, dbErrors, errors and refErrors.

struct MoveItem {
    int32_t fileId = 0;        // 0: the item is a folder
    int32_t folderId = 0;      // folder holding the file, or the folder itself
    int32_t destFolderId = 0;  // folder holding the item afterwards
    std::wstring newName;      // empty: not renamed
};

struct LocalItem {
    bool isFolder = false;
    std::wstring oldPath;      // full local path now
    std::wstring newPath;      // full local path afterwards; filled by the module when empty
    int32_t destFolderId = 0;  // used only when newPath is empty
};

// One stored reference to rewrite. The module hands both strings to the
// file-format manager untouched; their meaning is agreed between the host and it.
struct MoveRef {
    std::wstring oldRef;
    std::wstring newRef;
};

// A file whose stored references change because files it references move.
struct RefFile {
    RefFile() = default;
    RefFile(const RefFile&) = delete;
    RefFile& operator=(const RefFile&) = delete;
    ~RefFile() { refs.DeleteAll(); }

    int32_t hostData = 0;      // the host's; the module does not read it
    std::wstring oldPath;
    std::wstring newPath;      // empty when the file itself does not move
    Lst<MoveRef*> refs;
};

// An item that the database move refused.
struct DbMoveError {
    int32_t fileId = 0;        // 0 for a folder
    int32_t hostValue1 = 0;    // the host's; not read by the module
    int32_t hostValue2 = 0;    // the host's; not read by the module
    std::wstring hostText;     // the host's; not read by the module
    int32_t kind = 0;          // reason code, 1 to 12
    std::wstring itemName;
    std::wstring conflictName;
    std::wstring oldFolder;
    std::wstring newFolder;
};

// One problem found by the module.
struct MoveErrorEntry {
    MoveErrorEntry(std::wstring path_, std::wstring newPath_, HRESULT code_, std::wstring detail_)
        : code(code_), path(std::move(path_)), newPath(std::move(newPath_)), detail(std::move(detail_)) {}
    MoveErrorEntry(RefFile* refFile_, HRESULT code_) : refFile(refFile_), code(code_) {}

    RefFile* refFile = nullptr;  // the refFiles entry concerned, else null
    HRESULT code = S_OK;
    std::wstring path;           // current (source) path
    std::wstring newPath;        // target path
    std::wstring detail;         // the rejected name for E_QOR_INVALID_NAME
};

// A vault file found by FindFilesByName; the host allocates it and hands it out
// through shared ownership, so its deleter decides how the texts are freed.
struct FoundFileRecord {
    int32_t value1 = 0;
    int32_t value2 = 0;
    int32_t value3 = 0;
    const wchar_t* text1 = nullptr;
    const wchar_t* text2 = nullptr;
    const wchar_t* text3 = nullptr;
    const wchar_t* text4 = nullptr;
    bool flag = false;
};

struct MoveRequest {
    MoveRequest() = default;
    MoveRequest(const MoveRequest&) = delete;
    MoveRequest& operator=(const MoveRequest&) = delete;

    uint32_t hostData[5] = {};   // the host's; never read or written by the module
    int32_t hostContext = 0;     // the vault user, passed on unchanged
    std::wstring localRoot;      // local view root; paths are localRoot + folder path + name
    Lst<MoveItem*> items;
    Lst<LocalItem*> localItems;
    IUnknown* vault = nullptr;   // the host's vault object, borrowed; may be null
    Lst<RefFile*> refFiles;      // filled by the host in ListReferenceUpdates
    Lst<DbMoveError*> dbErrors;  // filled by the host in MoveInDatabase
    Lst<MoveErrorEntry*> errors;
    Lst<MoveErrorEntry*> refErrors;
};

using FolderPathMap = std::map<int32_t, std::wstring>;  // folder id -> path below localRoot
using FileNameMap = std::map<int32_t, std::wstring>;    // file id -> name

// The host's callbacks. A plain interface: no IUnknown part, slot order fixed.
class MoveHost {
public:
    // Fills request->refFiles with the files whose references change. Result ignored.
    virtual HRESULT ListReferenceUpdates(MoveRequest* request) = 0;
    // Changes the vault database; items refused one by one go to request->dbErrors.
    virtual HRESULT MoveInDatabase(MoveRequest* request) = 0;
    // Replaces every value: folder paths begin and end with a backslash.
    virtual HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) = 0;
    // Fills `found` with the vault files that carry the given names.
    virtual HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                                    std::vector<std::shared_ptr<FoundFileRecord>>* found,
                                    const wchar_t* localRoot) = 0;

protected:
    ~MoveHost() = default;
};

// ---------------------------------------------------------------------------
// A COM error raised by a component during the call (HRESULT plus optional
// error information), as it leaves ghMove.
class ComError {
public:
    explicit ComError(HRESULT code, IErrorInfo* info = nullptr) : code_(code), info_(info) {
        if (info_) info_->AddRef();
    }
    ComError(const ComError& o) : ComError(o.code_, o.info_) {}
    ComError& operator=(const ComError&) = delete;
    ~ComError() {
        if (info_) info_->Release();
    }

    HRESULT Code() const { return code_; }
    IErrorInfo* ErrorInfo() const { return info_; }
    std::wstring Description() const {
        std::wstring text;
        BSTR description = nullptr;
        if (info_ && SUCCEEDED(info_->GetDescription(&description)) && description) {
            text = description;
            SysFreeString(description);
        }
        return text;
    }

private:
    HRESULT code_;
    IErrorInfo* info_;
};

// ---------------------------------------------------------------------------
// The module's only export.
//   S_OK          the operation ran (problems, if any, are in errors/refErrors)
//   S_FALSE       refused before the local disk changed (invalid name, existing
//                 or shared target, items refused by the database)
//   E_QOR_FILE_SHARE_ERROR        files held by other processes stopped it before
//                                 the database changed; or, when not silent, a
//                                 rename whose local part failed
//   E_QOR_MISSING_ORAVANE_MODULE  the file-format manager could not be loaded
//   E_POINTER     host or request is null, or a list of items or localItems
//                 holds a null element (refused as it came: nothing is read
//                 or emptied); or refFiles, or the refs of one, as the host
//                 listed them, holds one (before the database changed)
//   E_INVALIDARG  items were given without a localRoot that makes them full
//                 paths (refused as it came); or a planned local move has a
//                 path that is not a full drive path ("X:\..." or "\\?\X:\..."),
//                 or a RefFile path holds a zero character (before the
//                 database changed; the moves are in errors)
//   HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
//                 a planned local move's new path has 520 characters or more
//                 (before the database changed; the moves are in errors)
//   other         passed on from ResolveNames, MoveInDatabase or the add-ins
// A list is what its nodes hold (see Lst). An identifier that ResolveNames
// leaves out or empty gives its item no local move.
extern "C" HRESULT __stdcall ghMove(HWND parent, MoveHost* host, MoveRequest* request, bool silent);
using GhMoveFunction = HRESULT(__stdcall*)(HWND, MoveHost*, MoveRequest*, bool);

// The binary layout is the 32-bit one; the i686 build checks it.
#if defined(_M_IX86) || defined(__i386__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(Lst<int*>) == 16, "Lst: vtable, head, tail, count");
static_assert(sizeof(Lst<int*>::Node) == 12, "node: value, next, prev");
static_assert(sizeof(std::wstring) == 24, "wide string of the contract");
static_assert(sizeof(bool) == 1, "8-bit booleans");
static_assert(offsetof(MoveItem, newName) == 12, "MoveItem layout");
static_assert(offsetof(LocalItem, oldPath) == 4 && offsetof(LocalItem, destFolderId) == 52, "LocalItem layout");
static_assert(offsetof(MoveRequest, hostContext) == 20, "five host words lead the request");
static_assert(offsetof(MoveRequest, localRoot) == 24, "MoveRequest layout");
static_assert(offsetof(MoveRequest, items) == 48, "MoveRequest layout");
static_assert(offsetof(MoveRequest, vault) == 80, "MoveRequest layout");
static_assert(offsetof(MoveRequest, refErrors) == 132, "MoveRequest layout");
static_assert(offsetof(MoveErrorEntry, code) == 4 && offsetof(MoveErrorEntry, path) == 8, "MoveErrorEntry layout");
static_assert(offsetof(DbMoveError, kind) == 36, "DbMoveError layout");
static_assert(offsetof(RefFile, refs) == 52, "RefFile layout");
static_assert(offsetof(FoundFileRecord, flag) == 28, "FoundFileRecord layout");
#pragma GCC diagnostic pop
#endif
