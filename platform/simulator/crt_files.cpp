// The C runtime's file calls on 16-bit paths and text. Files are host files
// under the device folder; text mode maps each byte to one character
// (ISO 8859-1) and back. The read-only attribute (no write permission bit) is
// enforced here, so a read-only file cannot be opened for writing even by root.
// device_fopen opens a device path given in 8-bit text the same way; the C
// library's own fopen is left alone.
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <string>

#include "call_log.hpp"
#include "path_mapping.hpp"
#include "wide_text.hpp"

using namespace device_simulator;

namespace {

struct open_mode {
    std::string host_mode;  // the mode for the host's fopen
    bool writes = false;
};

// "r", "w" or "a", then any of "+", "t", "b"; text mode is the host's only mode.
bool parse_mode(const WCHAR* mode, open_mode& parsed) {
    if (!mode || (mode[0] != u'r' && mode[0] != u'w' && mode[0] != u'a')) return false;
    parsed.host_mode = static_cast<char>(mode[0]);
    parsed.writes = mode[0] != u'r';
    for (const WCHAR* c = mode + 1; *c; ++c) {
        if (*c == u'+') {
            parsed.host_mode += '+';
            parsed.writes = true;
        } else if (*c != u't' && *c != u'b') {
            return false;
        }
    }
    return true;
}

bool is_read_only(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::FILE* open_file(const WCHAR* path, const WCHAR* mode) {
    open_mode parsed;
    if (!path || !parse_mode(mode, parsed)) {
        errno = EINVAL;
        return nullptr;
    }
    mapped_path mapped = map_device_path(path);
    struct stat info;
    bool exists = mapped.error == ERROR_SUCCESS && ::stat(mapped.host.c_str(), &info) == 0;
    if (mapped.error != ERROR_SUCCESS || mapped.last.empty() || has_wildcards(mapped.last)) {
        errno = ENOENT;
        return nullptr;
    }
    if (exists && (S_ISDIR(info.st_mode) || (parsed.writes && is_read_only(info)))) {
        errno = EACCES;
        return nullptr;
    }
    return std::fopen(mapped.host.c_str(), parsed.host_mode.c_str());
}

bool is_space(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips white space; returns the first other byte (not consumed) or EOF.
int skip_space(std::FILE* stream) {
    int c;
    while ((c = std::getc(stream)) != EOF && is_space(c)) {
    }
    if (c != EOF) std::ungetc(c, stream);
    return c;
}

// "%s": up to `width` characters of one word. False when the input has ended.
bool scan_word(std::FILE* stream, unsigned width, WCHAR* wide_out, char* narrow_out) {
    if (skip_space(stream) == EOF) return false;
    std::size_t stored = 0;
    int c;
    while (stored < width && (c = std::getc(stream)) != EOF) {
        if (is_space(c)) {
            std::ungetc(c, stream);
            break;
        }
        if (wide_out) wide_out[stored] = static_cast<WCHAR>(static_cast<unsigned char>(c));
        if (narrow_out) narrow_out[stored] = static_cast<char>(c);
        ++stored;
    }
    if (wide_out) wide_out[stored] = 0;
    if (narrow_out) narrow_out[stored] = 0;
    return true;
}

// "%d": an optional sign and decimal digits, saturated at the int limits.
// Returns 1 on success, 0 on a matching failure, EOF when the input has ended.
int scan_int(std::FILE* stream, unsigned width, int* out) {
    if (skip_space(stream) == EOF) return EOF;
    unsigned used = 0;
    int c = std::getc(stream);
    bool negative = false;
    if ((c == '-' || c == '+') && used < width) {
        negative = c == '-';
        ++used;
        c = std::getc(stream);
    }
    long long value = 0;
    bool any_digit = false;
    for (; c != EOF && c >= '0' && c <= '9' && used < width; c = std::getc(stream), ++used) {
        any_digit = true;
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (c - '0');
    }
    if (c != EOF) std::ungetc(c, stream);
    if (!any_digit) return 0;
    long long signed_value = negative ? -value : value;
    if (signed_value > INT_MAX) signed_value = INT_MAX;
    if (signed_value < INT_MIN) signed_value = INT_MIN;
    if (out) *out = static_cast<int>(signed_value);
    return 1;
}

// One conversion directive at format[i] (just after '%'). Returns 1 when a
// field was assigned, 0 when the scan goes on without one, -1 on a matching
// failure and -2 when the input has ended.
int scan_directive(std::FILE* stream, const WCHAR* format, std::size_t& i, va_list& arguments) {
    bool suppress = format[i] == u'*';
    if (suppress) ++i;
    unsigned width = 0;
    while (format[i] >= u'0' && format[i] <= u'9' && width < 100000) width = width * 10 + (format[i++] - u'0');
    if (width == 0) width = UINT_MAX;
    bool narrow = false;
    if (format[i] == u'l') {
        ++i;
    } else if (format[i] == u'h') {
        narrow = true;
        ++i;
    }
    WCHAR conversion = format[i] ? format[i++] : 0;
    if (conversion == u's') {
        WCHAR* wide_out = suppress || narrow ? nullptr : va_arg(arguments, WCHAR*);
        char* narrow_out = suppress || !narrow ? nullptr : va_arg(arguments, char*);
        if (!scan_word(stream, width, wide_out, narrow_out)) return -2;
        return suppress ? 0 : 1;
    }
    if (conversion == u'd') {
        int* out = suppress ? nullptr : va_arg(arguments, int*);
        int result = scan_int(stream, width, out);
        if (result == EOF) return -2;
        if (result == 0) return -1;
        return suppress ? 0 : 1;
    }
    return -1;  // conversions this runtime does not offer end the scan
}

int scan(std::FILE* stream, const WCHAR* format, va_list& arguments) {
    if (!stream || !format) {
        errno = EINVAL;
        return EOF;
    }
    int assigned = 0;
    bool converted = false;
    for (std::size_t i = 0; format[i];) {
        WCHAR f = format[i++];
        if (is_space(f)) {
            skip_space(stream);
        } else if (f == u'%' && format[i] != u'%') {
            int result = scan_directive(stream, format, i, arguments);
            if (result == -2) return converted ? assigned : EOF;
            if (result == -1) return assigned;
            assigned += result;
            converted = true;
        } else {
            if (f == u'%') ++i;
            int c = std::getc(stream);
            if (c == EOF) return converted ? assigned : EOF;
            if (static_cast<WCHAR>(static_cast<unsigned char>(c)) != f) {
                std::ungetc(c, stream);
                return assigned;
            }
        }
    }
    return assigned;
}

// An injected failure of _wfopen reads as an I/O error, as a failing card gives.
std::FILE* open_unless_failing(const simulated_call& wide_open, const WCHAR* path, const WCHAR* mode) {
    if (!wide_open.fails()) return open_file(path, mode);
    errno = EIO;
    return nullptr;
}

int put_text(const WCHAR* text, std::FILE* stream) {
    if (!text || !stream) {
        errno = EINVAL;
        return -1;
    }
    std::string bytes;
    for (const WCHAR* c = text; *c; ++c) {
        if (*c > 0xFF) {  // not representable in the device's single-byte text files
            errno = EILSEQ;
            return -1;
        }
        bytes += static_cast<char>(*c);
    }
    return std::fputs(bytes.c_str(), stream) < 0 ? -1 : 0;
}

}  // namespace

std::FILE* _wfopen(const WCHAR* path, const WCHAR* mode) {
    simulated_call call(simulated_function::_wfopen);
    std::FILE* file = open_unless_failing(call, path, mode);
    call.trace([&] { return printable_utf8(path) + " " + printable_utf8(mode) + (file ? " -> ok" : " -> failed"); });
    return file;
}

int fwscanf(std::FILE* stream, const WCHAR* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = scan(stream, format, arguments);
    va_end(arguments);
    return result;
}

int fputws(const WCHAR* text, std::FILE* stream) {
    simulated_call call(simulated_function::fputws);
    int result = call.fails() ? -1 : put_text(text, stream);
    call.trace([&] { return printable_utf8(text) + (result < 0 ? " -> failed" : " -> ok"); });
    return result;
}

// The 8-bit path is the UTF-8 form that wcstombs gives. It traces as fopen,
// the call's name on the device, but is _wfopen's work, so it fails when
// _wfopen is made to fail.
std::FILE* device_fopen(const char* path, const char* mode) {
    simulated_call call(simulated_function::fopen);
    std::u16string wide_path = utf8_to_utf16(path ? path : "");
    std::u16string wide_mode = utf8_to_utf16(mode ? mode : "");
    simulated_call wide_open(simulated_function::_wfopen);
    std::FILE* file = open_unless_failing(wide_open, path ? wide_path.c_str() : nullptr, wide_mode.c_str());
    call.trace([&] {
        return std::string(path ? path : "") + " " + (mode ? mode : "") + (file ? " -> ok" : " -> failed");
    });
    return file;
}
