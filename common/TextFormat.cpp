#include "common/TextFormat.h"

#include <cwchar>

namespace {

struct Placeholder {
    bool leftAlign = false;
    bool zeroPad = false;
    size_t width = 0;
    wchar_t conversion = 0;
};

// Reads flags, width and length modifiers after a '%'; returns the position
// of the conversion character, or npos at the end of the format.
size_t ParsePlaceholder(const std::wstring& f, size_t i, Placeholder& placeholder) {
    for (; i < f.size() && (f[i] == L'-' || f[i] == L'0'); ++i) {
        if (f[i] == L'-') placeholder.leftAlign = true; else placeholder.zeroPad = true;
    }
    for (; i < f.size() && f[i] >= L'0' && f[i] <= L'9'; ++i) {
        placeholder.width = placeholder.width * 10 + static_cast<size_t>(f[i] - L'0');
        if (placeholder.width > 1024) placeholder.width = 1024;
    }
    while (i < f.size() && (f[i] == L'l' || f[i] == L'h')) ++i;
    if (i >= f.size()) return std::wstring::npos;
    placeholder.conversion = f[i];
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

std::wstring Convert(const Placeholder& placeholder, const FormatArg& arg) {
    if (arg.IsText()) return arg.Text();
    const int64_t n = arg.Number();
    switch (placeholder.conversion) {
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

std::wstring Pad(std::wstring text, const Placeholder& placeholder) {
    if (text.size() >= placeholder.width) return text;
    const size_t fill = placeholder.width - text.size();
    if (placeholder.leftAlign) return text + std::wstring(fill, L' ');
    if (placeholder.zeroPad && placeholder.conversion != L's') {
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
        Placeholder placeholder;
        const size_t at = ParsePlaceholder(format, i + 1, placeholder);
        if (at == std::wstring::npos) {  // a lone '%' at the end stays as written
            out.append(format, i, std::wstring::npos);
            break;
        }
        i = at;
        if (placeholder.conversion == L'%') {
            out += L'%';
            continue;
        }
        if (!wcschr(L"sdiuxXpc", placeholder.conversion)) {  // unknown conversion: keep it verbatim
            out += L'%';
            out += placeholder.conversion;
            continue;
        }
        if (next == args.end()) continue;
        out += Pad(Convert(placeholder, *next++), placeholder);
    }
    return out;
}
