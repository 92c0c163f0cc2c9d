// Arbitrary bytes as a login table. The sanitizers catch any read past the
// bytes; a found record must also fit in them.
#include "environment/LoginTable.h"

#include <cstdlib>

namespace {

char16_t Folded(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool EqualIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<LoginRecord> found = LoginTable(data, size).Find(u"Vault", EqualIgnoringAsciiCase);
    if (found) {
        const size_t textBytes =
            2 * (found->text3.size() + found->text4.size() + found->text5.size() + found->text6.size());
        if (textBytes > size) std::abort();
    }
    return 0;
}
