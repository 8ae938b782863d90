// The C runtime's file calls on 16-bit paths and text. Files are host files
// under the device folder; text mode maps each byte to one character
// (ISO 8859-1) and back. The read-only attribute (no write permission bit) is
// enforced here, so a read-only file cannot be opened for writing even by root.
// device_fopen opens a device path given in 8-bit text the same way; the C
// library's own fopen is left alone.
#include <sys/stat.h>

#include <cerrno>
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
