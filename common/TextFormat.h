// printf-style formatting for user texts.
//
// Texts may come from a translated catalogue, so the format is not trusted:
// arguments are typed, a conversion that does not match its argument prints
// the argument as it is, and missing arguments print nothing. No format can
// make the module read memory it was not given.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

class FormatArg {
public:
    FormatArg(int32_t value) : isText_(false), number_(static_cast<int64_t>(value)) {}
    FormatArg(uint32_t value) : isText_(false), number_(static_cast<int64_t>(value)) {}
    FormatArg(long value) : isText_(false), number_(static_cast<int64_t>(value)) {}
    FormatArg(unsigned long value) : isText_(false), number_(static_cast<int64_t>(value)) {}
    FormatArg(const void* pointer) : isText_(false), isPointer_(true), number_(reinterpret_cast<intptr_t>(pointer)) {}
    FormatArg(std::wstring text) : isText_(true), text_(std::move(text)) {}
    FormatArg(const wchar_t* text) : isText_(true), text_(text ? text : L"") {}

    bool IsText() const { return isText_; }
    bool IsPointer() const { return isPointer_; }
    int64_t Number() const { return number_; }
    const std::wstring& Text() const { return text_; }

private:
    bool isText_;
    bool isPointer_ = false;
    int64_t number_ = 0;
    std::wstring text_;
};

// Supports %s %d %i %u %x %X %p %% with flags "-0", a width and the length
// modifiers h, l, ll (which change nothing: numbers are 32-bit values).
std::wstring FormatText(const std::wstring& format, std::initializer_list<FormatArg> args);
