// Simulated file search and attributes. The read-only attribute is "no write
// permission bit", which the simulator itself enforces when opening files,
// so it holds even for root.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "call_log.hpp"
#include "find_search.hpp"
#include "path_mapping.hpp"
#include "wide_text.hpp"

namespace device_simulator {
namespace {

constexpr std::uint64_t unix_epoch_as_file_time = 116444736000000000ULL;  // 100 ns units since 1601

FILETIME file_time_of(const struct timespec& t) {
    std::uint64_t ticks = unix_epoch_as_file_time + static_cast<std::uint64_t>(t.tv_sec) * 10000000ULL +
                          static_cast<std::uint64_t>(t.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

DWORD attributes_of(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return FILE_ATTRIBUTE_READONLY;
    return FILE_ATTRIBUTE_NORMAL;
}

// Every entry of `folder` whose name matches the pattern, in byte order of names.
std::vector<WIN32_FIND_DATAW> matching_entries(const std::string& folder, const std::u16string& pattern) {
    std::vector<std::pair<std::string, WIN32_FIND_DATAW>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        std::u16string wide = utf8_to_utf16(name);
        WIN32_FIND_DATAW data;
        if (wildcard_match(pattern, wide) && describe_host_file(folder + "/" + name, wide, data))
            found.emplace_back(name, data);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<WIN32_FIND_DATAW> entries;
    for (auto& item : found) entries.push_back(item.second);
    return entries;
}

std::vector<WIN32_FIND_DATAW> find_entries(const mapped_path& mapped) {
    if (has_wildcards(mapped.last)) return matching_entries(mapped.parent, mapped.last);
    WIN32_FIND_DATAW data;
    std::u16string name = utf8_to_utf16(std::filesystem::path(mapped.host).filename().string());
    if (!mapped.last.empty() && describe_host_file(mapped.host, name, data)) return {data};
    return {};
}

HANDLE start_file_search(LPCWSTR path, WIN32_FIND_DATAW* data) {
    if (!path || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    mapped_path mapped = map_device_path(path);
    if (mapped.error != ERROR_SUCCESS) {
        SetLastError(mapped.error);
        return INVALID_HANDLE_VALUE;
    }
    if (!mapped.parent_exists) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return open_search<file_search>(find_entries(mapped), data, ERROR_FILE_NOT_FOUND);
}

bool stat_device_path(LPCWSTR path, std::string& host, struct stat& info) {
    mapped_path mapped = map_device_path(path);
    if (mapped.error != ERROR_SUCCESS) {
        SetLastError(mapped.error);
        return false;
    }
    if (mapped.last.empty() || has_wildcards(mapped.last) || ::stat(mapped.host.c_str(), &info) != 0) {
        SetLastError(mapped.parent_exists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return false;
    }
    host = mapped.host;
    return true;
}

BOOL change_attributes(LPCWSTR path, DWORD attributes) {
    std::string host;
    struct stat info;
    if (!path || !stat_device_path(path, host, info)) {
        if (!path) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (S_ISDIR(info.st_mode)) return TRUE;  // folders carry no read-only mark here
    mode_t mode = info.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        mode |= S_IWUSR;
    if (::chmod(host.c_str(), mode) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool describe_host_file(const std::string& host_path, const std::u16string& name, WIN32_FIND_DATAW& data) {
    struct stat info;
    if (::stat(host_path.c_str(), &info) != 0 || name.size() >= MAX_PATH) return false;
    std::memset(&data, 0, sizeof data);
    data.dwFileAttributes = attributes_of(info);
    data.ftCreationTime = file_time_of(info.st_ctim);
    data.ftLastAccessTime = file_time_of(info.st_atim);
    data.ftLastWriteTime = file_time_of(info.st_mtim);
    std::uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    data.dwOID = static_cast<DWORD>(info.st_ino);
    std::copy(name.begin(), name.end(), data.cFileName);
    return true;
}

}  // namespace device_simulator

using namespace device_simulator;

HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data) {
    simulated_call call(simulated_function::FindFirstFileW);
    HANDLE search = call.fails() ? INVALID_HANDLE_VALUE : start_file_search(path, data);
    call.trace([&] { return printable_utf8(path); });
    return search;
}

BOOL FindClose(HANDLE search) {
    simulated_call call(simulated_function::FindClose);
    BOOL closed = FALSE;
    if (!call.fails()) {
        closed = close_object<entry_search>(search);
        if (!closed) SetLastError(ERROR_INVALID_HANDLE);
    }
    call.trace([&] { return pointer_text(search); });
    return closed;
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    simulated_call call(simulated_function::SetFileAttributesW);
    BOOL changed = call.fails() ? FALSE : change_attributes(path, attributes);
    char details[40];
    std::snprintf(details, sizeof details, " 0x%x -> %s", static_cast<unsigned>(attributes), changed ? "ok" : "failed");
    call.trace([&] { return printable_utf8(path) + details; });
    return changed;
}
