#include "installation/formwright/Plugins.h"

#include "GhMove.h"
#include "common/ComPtr.h"

#include <objbase.h>

namespace formwright {

namespace {

HRESULT ReadStream(IStream* stream, std::wstring& content) {
    STATSTG stat = {};
    HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    content.assign(static_cast<size_t>(stat.cbSize.QuadPart / sizeof(wchar_t)), L'\0');
    const ULONG bytes = static_cast<ULONG>(content.size() * sizeof(wchar_t));
    ULONG read = 0;
    hr = bytes ? stream->Read(&content[0], bytes, &read) : S_OK;
    return FAILED(hr) ? hr : read == bytes ? S_OK : STG_E_READFAULT;
}

HRESULT WriteStream(IStream* stream, const std::wstring& content) {
    const ULONG bytes = static_cast<ULONG>(content.size() * sizeof(wchar_t));
    HRESULT hr = stream->Seek({}, STREAM_SEEK_SET, nullptr);
    ULONG written = 0;
    if (SUCCEEDED(hr) && bytes) hr = stream->Write(content.data(), bytes, &written);
    ULARGE_INTEGER size = {};
    size.QuadPart = bytes;
    if (SUCCEEDED(hr)) hr = stream->SetSize(size);
    return hr;
}

// Every path ends with a zero character; the last one may lack it.
std::wstring Rewritten(const std::wstring& content, const ReferenceMap& map) {
    std::wstring out;
    size_t start = 0;
    while (start < content.size()) {
        const size_t zero = content.find(L'\0', start);
        const size_t end = zero == std::wstring::npos ? content.size() : zero;
        const std::wstring stored = content.substr(start, end - start);
        out += map(stored).value_or(stored);
        if (zero != std::wstring::npos) out += L'\0';
        start = end + 1;
    }
    return out;
}

HRESULT OpenReferences(const std::wstring& path, DWORD access, ComPtr<IStorage>& storage, ComPtr<IStream>& stream) {
    HRESULT hr = StgOpenStorage(path.c_str(), nullptr, access | STGM_SHARE_EXCLUSIVE | STGM_DIRECT, nullptr, 0,
                                storage.Put());
    if (FAILED(hr)) return hr;
    hr = storage->OpenStream(kReferencesStream, nullptr, access | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
    return hr == STG_E_FILENOTFOUND ? E_QOR_NO_MATCHING_PLUGIN : hr;  // a compound file of another kind
}

}  // namespace

std::optional<std::vector<std::wstring>> StoredCompoundReferences(const std::wstring& path) {
    ComPtr<IStorage> storage;
    ComPtr<IStream> stream;
    std::wstring content;
    if (FAILED(OpenReferences(path, STGM_READ, storage, stream)) || FAILED(ReadStream(stream.Get(), content))) {
        return std::nullopt;
    }
    std::vector<std::wstring> references;
    Rewritten(content, [&](const std::wstring& stored) {
        references.push_back(stored);
        return std::nullopt;
    });
    return references;
}

HRESULT WriteCompoundDocument(const std::wstring& path, const std::vector<std::wstring>& references) {
    ComPtr<IStorage> storage;
    HRESULT hr = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DIRECT, 0,
                                  storage.Put());
    ComPtr<IStream> stream;
    if (SUCCEEDED(hr)) {
        hr = storage->CreateStream(kReferencesStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                   stream.Put());
    }
    std::wstring content;
    for (const std::wstring& reference : references) content += reference + L'\0';
    return SUCCEEDED(hr) ? WriteStream(stream.Get(), content) : hr;
}

HRESULT RewriteCompoundDocument(const std::wstring& path, const ReferenceMap& map) {
    ComPtr<IStorage> storage;
    ComPtr<IStream> stream;
    HRESULT hr = OpenReferences(path, STGM_READWRITE, storage, stream);
    if (FAILED(hr)) return hr;
    std::wstring content;
    hr = ReadStream(stream.Get(), content);
    if (FAILED(hr)) return hr;
    const std::wstring rewritten = Rewritten(content, map);
    return rewritten == content ? S_OK : WriteStream(stream.Get(), rewritten);
}

}  // namespace formwright
