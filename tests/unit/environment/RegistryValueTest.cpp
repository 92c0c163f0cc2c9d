// Value bytes the registry cannot store as a test needs: at the size limit, unaligned, or with a null buffer.
#include "environment/RegistryValue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<std::u16string> Text(uint32_t type, const std::vector<uint8_t>& bytes, size_t offset = 0) {
    const auto value = ReadRegistryText(type, bytes.data() + offset, bytes.size() - offset);
    if (!value) return std::nullopt;
    EXPECT_EQ(value->expand, type == kRegistryExpandableText);
    return value->text;
}

TEST(RegistryValue, TextsOfAnyLengthUpToTheLimitEndAtTheirFirstZeroCharacter) {
    std::vector<uint8_t> limit(kMaxRegistryValueBytes, 'a');
    const auto whole = Text(kRegistryText, limit);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->size(), kMaxRegistryValueBytes / 2);
    limit.push_back(0);
    EXPECT_EQ(Text(kRegistryExpandableText, limit), std::nullopt);  // one byte over

    // Read byte by byte: text that starts at an odd address reads the same.
    const std::vector<uint8_t> shifted = {0xEE, 'h', 0, 'i', 0, 0, 0, 0, 0};
    EXPECT_EQ(Text(kRegistryText, shifted, 1), u"hi");
    EXPECT_EQ(Text(kRegistryText, {0, 0, 0, 0}), u"");     // terminators only
    EXPECT_EQ(Text(kRegistryText, {'x'}), u"x");           // a lone byte is a whole character
    EXPECT_EQ(Text(kRegistryText, {'x', 0, 0}), u"x");     // a terminator's lone first byte ends it
    EXPECT_EQ(ReadRegistryText(kRegistryText, nullptr, 0)->text, u"");
    EXPECT_EQ(ReadRegistryText(kRegistryText, nullptr, 2), std::nullopt);
}

TEST(RegistryValue, NumbersAreExactlyFourBytesOfEitherNumberType) {
    const uint8_t bytes[] = {0xEE, 0x00, 0x00, 0x1F, 0x90};
    EXPECT_EQ(ReadRegistryNumber(kRegistryBigEndianNumber, bytes + 1, 4), 8080u);
    EXPECT_EQ(ReadRegistryNumber(kRegistryNumber, bytes + 1, 4), 0x901F0000u);
    EXPECT_EQ(ReadRegistryNumber(kRegistryNumber, nullptr, 4), std::nullopt);
    for (uint32_t type = 0; type <= 11; ++type) {
        const bool number = type == kRegistryNumber || type == kRegistryBigEndianNumber;
        EXPECT_EQ(ReadRegistryNumber(type, bytes, 4).has_value(), number) << type;
        EXPECT_EQ(ReadRegistryNumber(type, bytes, 3), std::nullopt) << type;
        EXPECT_EQ(ReadRegistryNumber(type, bytes, 5), std::nullopt) << type;
        EXPECT_EQ(ReadRegistryText(type, bytes, 4).has_value(), type == kRegistryText || type == kRegistryExpandableText)
            << type;
    }
}

}  // namespace
