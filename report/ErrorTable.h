// The vault's table of error texts: one row per known result code, with the
// identifier under which the text catalogue keeps the code's sentence and the
// English sentence shown when the catalogue has none.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Where a row's text comes from.
enum class ErrorTextSource : uint8_t {
    ErrorCodes,        // catalogue "QorInterface", section "ErrorCodes"
    DatabaseMessages,  // catalogue "Database", section "Error Messages"
    SqlServerVersion,  // composite: the sentence, then the supported versions
    UnsupportedOs,     // composite: the sentence, then the minimum Windows versions
    OwnName,           // the code's own name, not looked up
};

struct ErrorTextRow {
    uint32_t code;
    const wchar_t* name;  // symbolic name, for the reader; null where the vault gives none
    uint32_t id;          // catalogue identifier; rows that share one share their text
    ErrorTextSource source;
    const wchar_t* english;
};

struct ErrorTextRows {
    const ErrorTextRow* first;
    size_t count;
    const ErrorTextRow* begin() const { return first; }
    const ErrorTextRow* end() const { return first + count; }
};

// Every row, ordered by code.
ErrorTextRows AllErrorTextRows();
// The row of `code`, or null.
const ErrorTextRow* FindErrorTextRow(HRESULT code);
