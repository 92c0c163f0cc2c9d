// A command that cannot run as asked: unknown item, no vault, bad arguments,
// a database that is locked, damaged or of another schema version. Told in
// one line; the program exits with 2.
#pragma once

#include <stdexcept>
#include <string>

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// A path or name inside such a line; characters beyond ASCII show as "?".
inline std::string MessageText(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}
