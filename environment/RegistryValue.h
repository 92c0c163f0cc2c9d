// What the stored bytes of a registry value mean to the settings reader,
// apart from the registry itself: the type and the bytes in, the value out.
// No Windows types, so that it also builds natively for the fuzzer; the
// registry calls and the expansion of environment variables stay in Registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The value types the reader tells apart, as the registry numbers them.
inline constexpr uint32_t kRegistryText = 1;            // REG_SZ
inline constexpr uint32_t kRegistryExpandableText = 2;  // REG_EXPAND_SZ
inline constexpr uint32_t kRegistryNumber = 4;          // REG_DWORD
inline constexpr uint32_t kRegistryBigEndianNumber = 5; // REG_DWORD_BIG_ENDIAN

// Larger values are refused: the registry's own limit for one value in its
// standard format, far above any setting the reader is asked for.
inline constexpr size_t kMaxRegistryValueBytes = size_t{1} << 20;

struct RegistryText {
    std::u16string text;  // never holds a zero character
    bool expand = false;  // REG_EXPAND_SZ: its environment variables are still to be replaced
};

// A REG_DWORD, or a REG_DWORD_BIG_ENDIAN turned to the machine's order, of
// exactly four bytes; nothing for any other type or size.
std::optional<uint32_t> ReadRegistryNumber(uint32_t type, const uint8_t* bytes, size_t size);

// A REG_SZ or REG_EXPAND_SZ: its UTF-16 text up to the first zero character,
// however it was stored: without a terminator, with several, with a lone last
// byte (the low half of a character whose high half is zero) or with no bytes
// at all. Nothing for any other type or for more than kMaxRegistryValueBytes.
// Nothing at or past `size` is read.
std::optional<RegistryText> ReadRegistryText(uint32_t type, const uint8_t* bytes, size_t size);
