// What every in-process COM server of the installation needs: reference
// counting, a class factory, the DLL's object count and its registration.
#pragma once

#include "common/Handles.h"

#include <objbase.h>

#include <atomic>
#include <new>
#include <utility>

namespace standin {

// Objects and locks alive in this DLL, for DllCanUnloadNow.
std::atomic<long>& LiveObjects();

template <class Interface>
class ComObject : public Interface {
public:
    ComObject() { ++LiveObjects(); }
    virtual ~ComObject() { --LiveObjects(); }

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --refs_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    // Answers IUnknown and the given interface ID with this object.
    HRESULT QueryFor(REFIID iid, REFIID own, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != own) return E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    std::atomic<long> refs_{0};
};

// A new object with one reference, the caller's.
template <class Object, class... Args>
Object* NewObject(Args&&... args) {
    auto* object = new Object(std::forward<Args>(args)...);
    object->AddRef();
    return object;
}

template <class Object>
class ClassFactory : public ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFor(iid, IID_IClassFactory, out);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Object* object = new (std::nothrow) Object();
        if (!object) return E_OUTOFMEMORY;
        object->AddRef();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++LiveObjects() : --LiveObjects();
        return S_OK;
    }
};

template <class Object, class Factory = ClassFactory<Object>>
HRESULT GetClassObject(REFCLSID requested, REFCLSID served, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (requested != served) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) Factory();
    if (!factory) return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

// HKLM\Software\Classes\CLSID\{clsid}\InprocServer32 = the DLL of `module`.
HRESULT RegisterInprocServer(REFCLSID clsid, HMODULE module, const wchar_t* description);
HRESULT UnregisterServer(REFCLSID clsid);

// The DLL that this code is linked into.
HMODULE ThisModule();

}  // namespace standin

// The exports of an in-process server DLL that serves the one class `Object`.
#define STANDIN_SERVER_EXPORTS(Object, clsid, description)                                                  \
    extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID requested, REFIID iid,   \
                                                                         void** out) {                     \
        return standin::GetClassObject<Object>(requested, clsid, iid, out);                                 \
    }                                                                                                       \
    extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {                                  \
        return standin::LiveObjects() == 0 ? S_OK : S_FALSE;                                                \
    }                                                                                                       \
    extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {                                \
        return standin::RegisterInprocServer(clsid, standin::ThisModule(), description);                    \
    }                                                                                                       \
    extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() { return standin::UnregisterServer(clsid); }
