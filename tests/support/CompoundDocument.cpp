#include "CompoundDocument.h"

#include "common/ComPtr.h"
#include "common/Handles.h"

#include <objbase.h>

#include <stdexcept>

namespace {

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(what);
}

void WriteStream(IStorage* storage, const std::wstring& name, const std::string& bytes) {
    ComPtr<IStream> stream;
    Check(storage->CreateStream(name.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put()),
          "CreateStream");
    ULONG written = 0;
    if (!bytes.empty()) Check(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written), "Write");
}

std::string ReadStream(IStorage* storage, const std::wstring& name) {
    ComPtr<IStream> stream;
    Check(storage->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put()), "OpenStream");
    STATSTG stat = {};
    Check(stream->Stat(&stat, STATFLAG_NONAME), "Stat");
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (!bytes.empty()) Check(stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read), "Read");
    return bytes;
}

}  // namespace

void WriteCompoundDocument(const std::wstring& path, const std::vector<std::wstring>& references,
                           const Streams& others) {
    ComPtr<IStorage> storage;
    Check(StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put()),
          "StgCreateDocfile");
    std::wstring paths;
    for (const std::wstring& reference : references) paths += reference + L'\0';
    WriteStream(storage.Get(), L"References",
                std::string(reinterpret_cast<const char*>(paths.data()), paths.size() * sizeof(wchar_t)));
    for (const auto& [name, bytes] : others) WriteStream(storage.Get(), name, bytes);
}

Streams ReadCompoundStreams(const std::wstring& path) {
    ComPtr<IStorage> storage;
    Check(StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, storage.Put()),
          "StgOpenStorage");
    ComPtr<IEnumSTATSTG> elements;
    Check(storage->EnumElements(0, nullptr, 0, elements.Put()), "EnumElements");
    Streams streams;
    STATSTG element = {};
    while (elements->Next(1, &element, nullptr) == S_OK) {
        const UniqueTaskMem<wchar_t> name(element.pwcsName);
        if (element.type == STGTY_STREAM) streams[name.get()] = ReadStream(storage.Get(), name.get());
    }
    return streams;
}

std::vector<std::wstring> CompoundReferences(const std::wstring& path) {
    const std::string bytes = ReadCompoundStreams(path).at(L"References");
    const std::wstring paths(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> references;
    for (size_t start = 0, zero; start < paths.size(); start = zero + 1) {
        zero = paths.find(L'\0', start);
        if (zero == std::wstring::npos) zero = paths.size();
        references.push_back(paths.substr(start, zero - start));
    }
    return references;
}
