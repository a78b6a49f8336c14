#include "windows_services.h"

#include <cstdint>
#include <cstring>

namespace {

struct Conversion {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    bool long_size = false;
};

class Output {
public:
    explicit Output(char* buffer) : buffer_(buffer) {}
    void put(char c) {
        if (length_ < WSPRINTF_LIMIT) buffer_[length_++] = c;
    }
    void pad(int count, char c) {
        for (int i = 0; i < count; ++i) put(c);
    }
    int finish() {
        buffer_[length_] = '\0';
        return length_;
    }

private:
    char* buffer_;
    int length_ = 0;
};

// Writes `digits` (with an optional sign) honouring width, zero padding and precision.
void put_number(Output& out, const Conversion& conversion, bool negative, const char* digits, int digit_count) {
    int zeros = conversion.precision > digit_count ? conversion.precision - digit_count : 0;
    int body = digit_count + zeros + (negative ? 1 : 0);
    int fill = conversion.width > body ? conversion.width - body : 0;
    if (!conversion.left && !conversion.zero) out.pad(fill, ' ');
    if (negative) out.put('-');
    if (!conversion.left && conversion.zero) out.pad(fill, '0');
    out.pad(zeros, '0');
    for (int i = 0; i < digit_count; ++i) out.put(digits[i]);
    if (conversion.left) out.pad(fill, ' ');
}

int to_digits(std::uint32_t value, unsigned base, bool upper, char* digits) {
    char reversed[16];
    int count = 0;
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        reversed[count++] = alphabet[value % base];
        value /= base;
    } while (value != 0);
    for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
    return count;
}

void put_text(Output& out, const Conversion& conversion, const char* text) {
    if (text == nullptr) text = "(null)";
    int length = 0;
    while (text[length] != '\0' && (conversion.precision < 0 || length < conversion.precision)) ++length;
    int fill = conversion.width > length ? conversion.width - length : 0;
    if (!conversion.left) out.pad(fill, conversion.zero ? '0' : ' ');
    for (int i = 0; i < length; ++i) out.put(text[i]);
    if (conversion.left) out.pad(fill, ' ');
}

} // namespace

PLATFORM_API int wvsprintfA(char* buffer, const char* format, va_list arguments) {
    Output out(buffer);
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out.put(*p);
            continue;
        }
        Conversion conversion;
        ++p;
        for (;; ++p) {
            if (*p == '-') conversion.left = true;
            else if (*p == '0') conversion.zero = true;
            else if (*p == '#' || *p == '+' || *p == ' ') continue;
            else break;
        }
        while (*p >= '0' && *p <= '9' && conversion.width < WSPRINTF_LIMIT) conversion.width = conversion.width * 10 + (*p++ - '0');
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            conversion.precision = 0;
            ++p;
            while (*p >= '0' && *p <= '9' && conversion.precision < WSPRINTF_LIMIT) conversion.precision = conversion.precision * 10 + (*p++ - '0');
            while (*p >= '0' && *p <= '9') ++p;
        }
        if (*p == 'l' || *p == 'h') {
            conversion.long_size = *p == 'l';
            ++p;
        }
        char digits[16];
        switch (*p) {
        case 'd':
        case 'i': {
            std::int32_t value = va_arg(arguments, std::int32_t);
            std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
            put_number(out, conversion, value < 0, digits, to_digits(magnitude, 10, false, digits));
            break;
        }
        case 'u':
            put_number(out, conversion, false, digits, to_digits(va_arg(arguments, std::uint32_t), 10, false, digits));
            break;
        case 'x':
        case 'X':
            put_number(out, conversion, false, digits, to_digits(va_arg(arguments, std::uint32_t), 16, *p == 'X', digits));
            break;
        case 'c': {
            char text[2] = {static_cast<char>(va_arg(arguments, int)), '\0'};
            put_text(out, conversion, text);
            break;
        }
        case 's':
            put_text(out, conversion, va_arg(arguments, const char*));
            break;
        case '\0':
            return out.finish();
        default: // %% and unknown conversions print the character itself
            out.put(*p);
            break;
        }
    }
    return out.finish();
}

PLATFORM_API int wsprintfA(char* buffer, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int written = wvsprintfA(buffer, format, arguments);
    va_end(arguments);
    return written;
}
