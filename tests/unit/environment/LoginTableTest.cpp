// The login table: which record answers a vault name, and that no table makes the reader look past its end.
#include "common/Handles.h"
#include "environment/LoginTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <tuple>
#include <vector>

namespace {

// A table written byte by byte, so that a test can end it anywhere.
class TableBytes {
public:
    TableBytes& Texts(std::initializer_list<std::u16string> texts) {
        for (const std::u16string& text : texts) {
            for (const char16_t c : text + u'\0') {
                bytes_.push_back(static_cast<uint8_t>(c & 0xFF));
                bytes_.push_back(static_cast<uint8_t>(c >> 8));
            }
        }
        return *this;
    }
    TableBytes& Numbers(std::initializer_list<uint32_t> numbers) {
        for (const uint32_t number : numbers) {
            for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(number >> (8 * i)));
        }
        return *this;
    }
    // A whole record with the vault name and fields told apart by `tag`.
    TableBytes& Record(const std::u16string& vault, const std::u16string& tag, uint32_t first = 1) {
        return Texts({u"user", vault, tag + u"-3", tag + u"-4", tag + u"-5", tag + u"-6", u"7"})
            .Numbers({first, first + 1, first + 2, first + 3, first + 4, 1});
    }
    TableBytes& End() { return Texts({u""}); }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// As the session compares names.
bool NamesEqual(const std::u16string& a, const std::u16string& b) {
    return lstrcmpiW(reinterpret_cast<const wchar_t*>(a.c_str()), reinterpret_cast<const wchar_t*>(b.c_str())) == 0;
}

// The vault's record in `bytes` copied to end where readable memory ends: a read past them faults.
std::optional<LoginRecord> FindAtPageEnd(const std::vector<uint8_t>& bytes, const std::u16string& vault) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize, readable = (bytes.size() / page + 1) * page;
    const UniqueVirtualMemory memory(VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    uint8_t* const base = static_cast<uint8_t*>(memory.Get());
    DWORD was = 0;
    if (!base || !VirtualProtect(base + readable, page, PAGE_NOACCESS, &was)) {
        ADD_FAILURE() << "no guard page";
        return std::nullopt;
    }
    uint8_t* const start = base + readable - bytes.size();
    if (!bytes.empty()) std::memcpy(start, bytes.data(), bytes.size());
    return LoginTable(start, bytes.size()).Find(vault, NamesEqual);
}

using Fields = std::tuple<std::u16string, std::u16string, std::u16string, std::u16string, uint32_t, uint32_t, uint32_t>;
Fields FieldsOf(const LoginRecord& record) {
    return {record.text3, record.text4, record.text5, record.text6, record.number1, record.number2, record.number5};
}

// Only the vault name (the second text) is compared, case ignored, and the first equal record answers. The answer's odd
// count of characters leaves its numbers unaligned, and a reader that stepped over the record before it wrongly would
// find other values.
TEST(LoginTable, TheFirstRecordWithTheVaultNameInAnyCaseAnswers) {
    TableBytes table;
    table.Texts({u"Vault", u"Elsewhere", u"a", u"bc", u"", u"d", u"efg"}).Numbers({1, 2, 3, 4, 5, 0});
    table.Texts({u"jo", u"VAULT", u"tcp:srv", u"four", u"sa", u"secret", u"xy"});
    ASSERT_EQ(table.Bytes().size() % 4, 2u) << "the second record's numbers must sit unaligned";
    table.Numbers({0x11223344, 0xA1B2C3D4, 7, 8, 0x80000005, 1});
    table.Record(u"vault", u"later").Record(u"Vault", u"latest").End();

    const std::optional<LoginRecord> found = FindAtPageEnd(table.Bytes(), u"vault");
    ASSERT_TRUE(found);
    EXPECT_EQ(FieldsOf(*found), Fields(u"tcp:srv", u"four", u"sa", u"secret", 0x11223344u, 0xA1B2C3D4u, 0x80000005u));
}

TEST(LoginTable, ATableThatEndsAtOnceFindsNothing) {
    const struct {
        const char* name;
        TableBytes table;
    } cases[] = {
        {"no bytes at all", TableBytes()},
        {"only the terminator", TableBytes().End()},
        {"the terminator before a record", TableBytes().End().Record(u"Vault", u"v")},
    };
    for (const auto& c : cases) EXPECT_FALSE(FindAtPageEnd(c.table.Bytes(), u"Vault")) << c.name;
    EXPECT_FALSE(FindAtPageEnd({0x41}, u"Vault")) << "half a character";
}

// A table with no terminator that reaches the end of its bytes: a record that is whole there still answers; one cut
// anywhere, in a text or in its numbers, is no login, and nothing past the end is read.
TEST(LoginTable, ATableRunningToItsEndIsReadNoFurther) {
    TableBytes other;
    other.Record(u"Other", u"o");
    TableBytes whole = other;
    whole.Record(u"Vault", u"v", 20);
    const std::optional<LoginRecord> found = FindAtPageEnd(whole.Bytes(), u"Vault");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->number5, 24u);

    for (size_t cut = other.Bytes().size(); cut < whole.Bytes().size(); ++cut) {
        const std::vector<uint8_t> bytes(whole.Bytes().begin(), whole.Bytes().begin() + cut);
        EXPECT_FALSE(FindAtPageEnd(bytes, u"Vault")) << "cut after " << cut << " bytes";
    }
}

}  // namespace
