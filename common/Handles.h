// Holders for the Win32 and COM resources the module acquires.
#pragma once

#include "common/UniqueResource.h"

#include <objbase.h>
#include <restartmanager.h>
#include <oleauto.h>
#include <shlobj.h>

namespace handle_traits {

// What CreateMutexW, OpenProcess and friends return: null means none.
struct Handle {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};

// What CreateFileW returns: INVALID_HANDLE_VALUE means none.
struct FileHandle {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct FindHandle {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

struct RegKey {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Close(Type k) { RegCloseKey(k); }
};

struct Library {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Close(Type m) { FreeLibrary(m); }
};

struct MappedView {
    using Type = void*;
    static Type Empty() { return nullptr; }
    static void Close(Type v) { UnmapViewOfFile(v); }
};

// What VirtualAlloc reserves, released whole.
struct VirtualMemory {
    using Type = void*;
    static Type Empty() { return nullptr; }
    static void Close(Type p) { VirtualFree(p, 0, MEM_RELEASE); }
};

// Restart Manager sessions are small numbers, 0 included.
struct RmSession {
    using Type = DWORD;
    static Type Empty() { return static_cast<DWORD>(-1); }
    static void Close(Type session) { RmEndSession(session); }
};

struct SafeArray {
    using Type = SAFEARRAY*;
    static Type Empty() { return nullptr; }
    static void Close(Type a) { SafeArrayDestroy(a); }
};

template <class T>
struct TaskMem {
    using Type = T*;
    static Type Empty() { return nullptr; }
    static void Close(Type p) { CoTaskMemFree(p); }
};

template <class T>
struct LocalMem {
    using Type = T*;
    static Type Empty() { return nullptr; }
    static void Close(Type p) { LocalFree(p); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<handle_traits::Handle>;
using UniqueFileHandle = UniqueResource<handle_traits::FileHandle>;
using UniqueFindHandle = UniqueResource<handle_traits::FindHandle>;
using UniqueRegKey = UniqueResource<handle_traits::RegKey>;
using UniqueLibrary = UniqueResource<handle_traits::Library>;
using UniqueMappedView = UniqueResource<handle_traits::MappedView>;
using UniqueVirtualMemory = UniqueResource<handle_traits::VirtualMemory>;
using UniqueRmSession = UniqueResource<handle_traits::RmSession>;
using UniqueSafeArray = UniqueResource<handle_traits::SafeArray>;
template <class T>
using UniqueTaskMem = UniqueResource<handle_traits::TaskMem<T>>;
template <class T>
using UniqueLocalMem = UniqueResource<handle_traits::LocalMem<T>>;
using UniqueIdList = UniqueTaskMem<ITEMIDLIST>;
