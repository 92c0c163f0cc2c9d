// A sentence from one of the vault client's text catalogues.
#pragma once

#include "common/Bstr.h"

#include <cstdint>
#include <string>

inline constexpr const wchar_t* kErrorCatalogue = L"QorInterface";
inline constexpr const wchar_t* kErrorSection = L"ErrorCodes";
inline constexpr const wchar_t* kDatabaseCatalogue = L"Database";
inline constexpr const wchar_t* kDatabaseSection = L"Error Messages";

// The catalogue's text for `id` in `section`, else `english`. Each lookup
// uses a catalogue instance of its own, which needs COM on this thread.
SharedBstr CatalogText(uint32_t id, const std::wstring& english, const wchar_t* catalogue, const wchar_t* section);
