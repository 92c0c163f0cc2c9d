#include "common/TextFormat.h"

#include <cwchar>
#include <vector>

namespace {

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    size_t width = 0;
    wchar_t conversion = 0;
};

// Reads flags, width and length modifiers after a '%'; returns the position
// of the conversion character, or npos at the end of the format.
size_t ParseSpec(const std::wstring& f, size_t i, Spec& spec) {
    for (; i < f.size() && (f[i] == L'-' || f[i] == L'0'); ++i) {
        if (f[i] == L'-') spec.leftAlign = true; else spec.zeroPad = true;
    }
    for (; i < f.size() && f[i] >= L'0' && f[i] <= L'9'; ++i) {
        spec.width = spec.width * 10 + static_cast<size_t>(f[i] - L'0');
        if (spec.width > 1024) spec.width = 1024;
    }
    while (i < f.size() && (f[i] == L'l' || f[i] == L'h')) ++i;
    if (i >= f.size()) return std::wstring::npos;
    spec.conversion = f[i];
    return i;
}

std::wstring Digits(uint64_t value, unsigned base, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring out;
    do {
        out.insert(out.begin(), digits[value % base]);
        value /= base;
    } while (value);
    return out;
}

std::wstring Convert(const Spec& spec, const FormatArg& arg) {
    if (arg.IsText()) return arg.Text();
    const int64_t n = arg.Number();
    switch (spec.conversion) {
        case L'd':
        case L'i': {
            const int32_t v = static_cast<int32_t>(n);
            std::wstring digits = Digits(v < 0 ? 0ull - static_cast<uint64_t>(static_cast<int64_t>(v)) : v, 10, false);
            return v < 0 ? L"-" + digits : digits;
        }
        case L'u': return Digits(static_cast<uint32_t>(n), 10, false);
        case L'x': return Digits(static_cast<uint32_t>(n), 16, false);
        case L'X': return Digits(static_cast<uint32_t>(n), 16, true);
        case L'p': {
            std::wstring digits = Digits(static_cast<uint64_t>(n), 16, true);
            return std::wstring(sizeof(void*) * 2 - digits.size(), L'0') + digits;
        }
        default: return Digits(static_cast<uint32_t>(n), 10, false);  // %s given a number
    }
}

std::wstring Pad(std::wstring text, const Spec& spec) {
    if (text.size() >= spec.width) return text;
    const size_t fill = spec.width - text.size();
    if (spec.leftAlign) return text + std::wstring(fill, L' ');
    if (spec.zeroPad && spec.conversion != L's') {
        const size_t signLength = (!text.empty() && text[0] == L'-') ? 1 : 0;
        return text.insert(signLength, std::wstring(fill, L'0'));
    }
    return std::wstring(fill, L' ') + text;
}

}  // namespace

std::wstring FormatText(const std::wstring& format, std::initializer_list<FormatArg> args) {
    std::wstring out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            out += format[i];
            continue;
        }
        Spec spec;
        const size_t at = ParseSpec(format, i + 1, spec);
        if (at == std::wstring::npos) {  // a lone '%' at the end stays as written
            out.append(format, i, std::wstring::npos);
            break;
        }
        i = at;
        if (spec.conversion == L'%') {
            out += L'%';
            continue;
        }
        if (!wcschr(L"sdiuxXpc", spec.conversion)) {  // unknown conversion: keep it verbatim
            out += L'%';
            out += spec.conversion;
            continue;
        }
        if (next == args.end()) continue;
        out += Pad(Convert(spec, *next++), spec);
    }
    return out;
}
