// Arbitrary bytes as a registry value: the first byte chooses the type (the
// registry's types 0 to 11 and a few beyond), the rest are the stored bytes.
// The sanitizers catch any read past them; what comes out must also follow
// the reader's rules, or the target aborts.
#include "environment/RegistryValue.h"

#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint32_t type = data[0] & 0x0F;
    const uint8_t* bytes = data + 1;
    const size_t count = size - 1;

    const std::optional<uint32_t> number = ReadRegistryNumber(type, bytes, count);
    const bool numeric = (type == kRegistryNumber || type == kRegistryBigEndianNumber) && count == 4;
    Require(number.has_value() == numeric);
    if (number) {
        const uint32_t little = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
        const uint32_t big = bytes[3] | bytes[2] << 8 | bytes[1] << 16 | static_cast<uint32_t>(bytes[0]) << 24;
        Require(*number == (type == kRegistryNumber ? little : big));
    }

    const std::optional<RegistryText> text = ReadRegistryText(type, bytes, count);
    Require(text.has_value() == (type == kRegistryText || type == kRegistryExpandableText));
    if (text) {
        Require(text->expand == (type == kRegistryExpandableText));
        Require(text->text.size() <= (count + 1) / 2);
        for (size_t i = 0; i < text->text.size(); ++i) {
            const uint8_t high = 2 * i + 1 < count ? bytes[2 * i + 1] : 0;
            Require(text->text[i] != 0 && text->text[i] == (bytes[2 * i] | high << 8));
        }
        // The text ends at the first zero character or at the end of the bytes.
        const size_t end = 2 * text->text.size();
        Require(end >= count || (bytes[end] == 0 && (end + 1 >= count || bytes[end + 1] == 0)));
    }
    return 0;
}
