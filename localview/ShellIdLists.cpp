#include "localview/ShellIdLists.h"

#include "common/Bstr.h"
#include "common/ComPtr.h"

#include <cstring>

using NotifyByPathNs::PidlPtr;

namespace {

constexpr uint8_t kFileSystemFileItem = 0x32;
constexpr size_t kNameBytes = 260;
// Name bytes after this marker are UTF-8.
constexpr char kUtf8Marker[] = "\xFF\xFE";
// The zero byte after the name and the four zero bytes inside the item.
constexpr size_t kItemTailBytes = 1 + 4;
constexpr size_t kListEndBytes = 2;

std::string Narrow(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    if (size > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    }
    return out;
}

std::wstring Widen(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

// The thread's ANSI text when it carries the name unchanged, else the marker
// and UTF-8.
std::string ItemNameBytes(const std::wstring& name) {
    std::string ansi = Narrow(CP_THREAD_ACP, name).substr(0, kNameBytes);
    if (Widen(CP_THREAD_ACP, ansi) == name) return ansi;
    return kUtf8Marker + Narrow(CP_UTF8, name).substr(0, kNameBytes);
}

}  // namespace

HRESULT ParseFolderIdList(const std::wstring& path, PidlPtr& list) {
    ComPtr<IShellFolder> desktop;
    HRESULT hr = SHGetDesktopFolder(desktop.Put());
    if (FAILED(hr)) return hr;
    const Bstr name(path);
    hr = desktop->ParseDisplayName(nullptr, nullptr, name.Get(), nullptr, list.Put(), nullptr);
    return FAILED(hr) ? hr : S_OK;
}

PidlPtr MakeSimpleItemId(const std::wstring& name) {
    const std::string bytes = ItemNameBytes(name);
    const size_t itemSize = sizeof(SimpleItemHeader) + bytes.size() + kItemTailBytes;
    PidlPtr item(static_cast<ITEMIDLIST*>(CoTaskMemAlloc(itemSize + kListEndBytes)));
    if (!item) return item;
    auto* raw = reinterpret_cast<uint8_t*>(item.Get());
    std::memset(raw, 0, itemSize + kListEndBytes);
    SimpleItemHeader header = {};
    header.size = static_cast<uint16_t>(itemSize);
    header.type = kFileSystemFileItem;
    std::memcpy(raw, &header, sizeof(header));
    std::memcpy(raw + sizeof(header), bytes.data(), bytes.size());
    return item;
}

PidlPtr BuildRelativeIdList(LPCITEMIDLIST base, const std::wstring& relative) {
    PidlPtr list(ILClone(base));
    size_t at = !relative.empty() && relative[0] == L'\\' ? 1 : 0;
    while (list && at <= relative.size()) {
        const size_t end = std::min(relative.find(L'\\', at), relative.size());
        if (end > at) {
            const PidlPtr item = MakeSimpleItemId(relative.substr(at, end - at));
            // A missing item would silently name the parent instead.
            if (!item) return PidlPtr();
            list = PidlPtr(ILCombine(list.Get(), item.Get()));
        }
        at = end + 1;
    }
    return list;
}
