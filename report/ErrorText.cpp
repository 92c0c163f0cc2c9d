// Result codes in words: the vault's table first, then fixed texts for
// Internet transfer errors and archive-server revision-control errors, then
// the system's message.
#include "report/ErrorText.h"

#include "common/Handles.h"
#include "common/TextFormat.h"
#include "report/CatalogText.h"
#include "report/ErrorTable.h"

#include <cstdint>

namespace {

// Pieces of the composite rows that are not looked up.
constexpr uint32_t kSupportedVersionsId = 0xC4;
constexpr const wchar_t* kSupportedVersions = L"Supported versions:";
constexpr const wchar_t* kSupportedSqlServer = L"  SQL Server 2005 SP1 or later";
constexpr const wchar_t* kMinimumWindows[] = {L"Windows XP Service Pack 2", L"Windows Server 2003 Service Pack 1"};

// Windows Internet errors 12000 to 12175 as HRESULTs.
constexpr uint32_t kInternetFirst = 0x80072EE0, kInternetLast = 0x80072F8F;
struct InternetText {
    uint32_t error;
    const wchar_t* text;
};
constexpr InternetText kInternetTexts[] = {
    {12007, L"The server name could not be resolved."},
    {12029, L"The attempt to connect to the server failed."},
    {12030, L"The connection with the server has been terminated."},
    {12031, L"The connection with the server has been reset."},
    {12163, L"The Internet connection has been lost"},
};
constexpr const wchar_t* kOtherInternetError = L"A WinINet error occured (code=%d).";

// No row of the table lies in this range.
constexpr uint32_t kArchiveFirst = 0x80040432, kArchiveLast = 0x800404C4;
constexpr const wchar_t* kArchiveError = L"Archive server revision control error %d (0x0%X)";

constexpr uint32_t kDispatchFirst = 0x80040200, kDispatchLast = 0x8004FFFF, kDispatchBase = 0x200;

std::wstring ErrorCodesText(uint32_t id, const wchar_t* english) {
    return CatalogText(id, english, kErrorCatalogue, kErrorSection).Text();
}

SharedBstr RowText(const ErrorTextRow& row) {
    switch (row.source) {
        case ErrorTextSource::DatabaseMessages:
            return CatalogText(row.id, row.english, kDatabaseCatalogue, kDatabaseSection);
        case ErrorTextSource::SqlServerVersion:
            return SharedBstr(ErrorCodesText(row.id, row.english) + L"\n\n" +
                              ErrorCodesText(kSupportedVersionsId, kSupportedVersions) + L"\n" + kSupportedSqlServer);
        case ErrorTextSource::UnsupportedOs: {
            std::wstring text = ErrorCodesText(row.id, row.english);
            for (const wchar_t* version : kMinimumWindows) text += std::wstring(L"\n") + version;
            return SharedBstr(text);
        }
        case ErrorTextSource::OwnName: return SharedBstr(row.name);
        case ErrorTextSource::ErrorCodes: break;
    }
    return CatalogText(row.id, row.english, kErrorCatalogue, kErrorSection);
}

std::wstring InternetErrorText(uint32_t code) {
    const uint32_t error = code & 0xFFFF;
    for (const InternetText& known : kInternetTexts) {
        if (known.error == error) return known.text;
    }
    return FormatText(kOtherInternetError, {error});
}

// The system's message without its final line break; failing that, the
// IDispatch number of an interface code, or the code in hex.
std::wstring SystemText(HRESULT code) {
    UniqueLocalMem<wchar_t> buffer;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    if (length && buffer) {
        std::wstring text(buffer.get(), length);
        if (text.size() > 1 && text.back() == L'\n') {
            text.pop_back();
            if (!text.empty() && text.back() == L'\r') text.pop_back();
        }
        return text;
    }
    const auto value = static_cast<uint32_t>(code);
    const auto dispatchNumber = static_cast<int32_t>(value & 0xFFFF) - static_cast<int32_t>(kDispatchBase);
    if (value >= kDispatchFirst && value <= kDispatchLast && dispatchNumber != 0) {
        return FormatText(L"IDispatch error #%d", {dispatchNumber});
    }
    return FormatText(L"Unknown error 0x%0lX", {value});
}

}  // namespace

SharedBstr ErrorText(HRESULT code) {
    if (const ErrorTextRow* row = FindErrorTextRow(code)) return RowText(*row);
    const auto value = static_cast<uint32_t>(code);
    if (value >= kInternetFirst && value <= kInternetLast) return SharedBstr(InternetErrorText(value));
    if (value >= kArchiveFirst && value <= kArchiveLast) {
        return SharedBstr(FormatText(kArchiveError, {value - kArchiveFirst, value}));
    }
    return SharedBstr(SystemText(code));
}
