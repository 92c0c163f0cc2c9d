#include "environment/LoginTable.h"

#include "interfaces/LoginManager.h"

#include <array>

namespace {

struct WholeRecord {
    std::array<std::u16string, kLoginRecordTexts> texts;
    std::array<uint32_t, kLoginRecordNumbers> numbers;
};

// Reads forward through the table, never at or past its end. Values are
// assembled byte by byte: nothing in the table is aligned.
class TableCursor {
public:
    TableCursor(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool AtRecord() const { return Remaining() >= 2 && (bytes_[at_] | bytes_[at_ + 1]) != 0; }

    bool Text(std::u16string& text) {
        text.clear();
        while (Remaining() >= 2) {
            const char16_t c = static_cast<char16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
            at_ += 2;
            if (c == 0) return true;
            text += c;
        }
        return false;
    }

    bool Number(uint32_t& number) {
        if (Remaining() < 4) return false;
        number = 0;
        for (size_t i = 0; i < 4; ++i) number |= static_cast<uint32_t>(bytes_[at_ + i]) << (8 * i);
        at_ += 4;
        return true;
    }

    bool Record(WholeRecord& record) {
        for (std::u16string& text : record.texts) {
            if (!Text(text)) return false;
        }
        for (uint32_t& number : record.numbers) {
            if (!Number(number)) return false;
        }
        return true;
    }

private:
    size_t Remaining() const { return size_ - at_; }

    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
};

LoginRecord Wanted(const WholeRecord& record) {
    LoginRecord wanted;
    wanted.text3 = record.texts[2];
    wanted.text4 = record.texts[3];
    wanted.text5 = record.texts[4];
    wanted.text6 = record.texts[5];
    wanted.number1 = record.numbers[0];
    wanted.number2 = record.numbers[1];
    wanted.number5 = record.numbers[4];
    return wanted;
}

}  // namespace

std::optional<LoginRecord> LoginTable::Find(const std::u16string& vault, const VaultNamesEqual& equal) const {
    TableCursor cursor(bytes_, size_);
    WholeRecord record;
    // A record is compared only once it is whole: one that runs off the end
    // is the writer's torn table, not a login.
    while (cursor.AtRecord() && cursor.Record(record)) {
        if (equal(record.texts[1], vault)) return Wanted(record);
    }
    return std::nullopt;
}
