#include "environment/RegistryValue.h"

std::optional<uint32_t> ReadRegistryNumber(uint32_t type, const uint8_t* bytes, size_t size) {
    if (size != 4 || !bytes) return std::nullopt;
    if (type != kRegistryNumber && type != kRegistryBigEndianNumber) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t shift = type == kRegistryNumber ? 8 * i : 8 * (3 - i);
        value |= static_cast<uint32_t>(bytes[i]) << shift;
    }
    return value;
}

std::optional<RegistryText> ReadRegistryText(uint32_t type, const uint8_t* bytes, size_t size) {
    if (type != kRegistryText && type != kRegistryExpandableText) return std::nullopt;
    if (size > kMaxRegistryValueBytes || (size > 0 && !bytes)) return std::nullopt;
    RegistryText value;
    value.expand = type == kRegistryExpandableText;
    // Characters are put together byte by byte: the bytes need not be aligned.
    for (size_t at = 0; at < size; at += 2) {
        const uint8_t high = at + 1 < size ? bytes[at + 1] : 0;
        const auto c = static_cast<char16_t>(bytes[at] | high << 8);
        if (c == 0) break;
        value.text += c;
    }
    return value;
}
