// Reading the login manager's table of vault logins from the bytes of its
// section. No Windows types, so that the reader also builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the module takes from a login record.
struct LoginRecord {
    std::u16string text3, text4, text5, text6;
    uint32_t number1 = 0, number2 = 0, number5 = 0;
};

// Whether two vault names are the same, ignoring case as the caller's
// platform does.
using VaultNamesEqual = std::function<bool(const std::u16string&, const std::u16string&)>;

class LoginTable {
public:
    // The table is read in place: `bytes` must outlive it. Nothing at or past
    // `size` is ever read, however malformed the table.
    LoginTable(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    // The first record whose vault name equals `vault`. A record cut off by the
    // end of the bytes ends the table, as does one that starts with a zero
    // character.
    std::optional<LoginRecord> Find(const std::u16string& vault, const VaultNamesEqual& equal) const;

private:
    const uint8_t* bytes_;
    size_t size_;
};
