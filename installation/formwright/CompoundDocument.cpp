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

}  // namespace

HRESULT RewriteCompoundDocument(const std::wstring& path, const ReferenceMap& map) {
    ComPtr<IStorage> storage;
    HRESULT hr = StgOpenStorage(path.c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DIRECT, nullptr,
                                0, storage.Put());
    if (FAILED(hr)) return hr;
    ComPtr<IStream> stream;
    hr = storage->OpenStream(kReferencesStream, nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
    if (hr == STG_E_FILENOTFOUND) return E_QOR_NO_MATCHING_PLUGIN;  // a compound file of another kind
    if (FAILED(hr)) return hr;
    std::wstring content;
    hr = ReadStream(stream.Get(), content);
    if (FAILED(hr)) return hr;
    const std::wstring rewritten = Rewritten(content, map);
    return rewritten == content ? S_OK : WriteStream(stream.Get(), rewritten);
}

}  // namespace formwright
