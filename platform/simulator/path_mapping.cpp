// Device paths to host paths, case-insensitively, never leaving the device
// folder: "." and ".." are refused rather than resolved.
#include "path_mapping.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "device_state.hpp"
#include "wide_text.hpp"

namespace device_simulator {
namespace {

char16_t ascii_lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

std::vector<std::u16string> split_components(const std::u16string& path) {
    std::vector<std::u16string> parts(1);
    for (char16_t c : path) {
        if (c == u'\\' || c == u'/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    // Empty components from a leading or doubled separator carry no name; a
    // trailing separator leaves an empty last component, which callers see.
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty() || (i + 1 == parts.size() && i > 0)) names.push_back(parts[i]);
    return names;
}

// The existing entry of `folder` that `component` names: an exact match, else
// the first case-insensitive one in byte order; empty when there is none.
std::string find_entry(const std::string& folder, const std::string& component_utf8,
                       const std::u16string& component) {
    std::error_code error;
    if (std::filesystem::symlink_status(folder + "/" + component_utf8, error).type() !=
        std::filesystem::file_type::not_found && !error)
        return component_utf8;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (ascii_iequal(utf8_to_utf16(name), component)) matches.push_back(name);
    }
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

bool is_valid_component(const std::u16string& component) {
    return component != u"." && component != u"..";
}

}  // namespace

bool ascii_iequal(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

bool has_wildcards(const std::u16string& component) {
    return component.find_first_of(u"*?") != std::u16string::npos;
}

bool wildcard_match(const std::u16string& pattern, const std::u16string& name) {
    // Greedy matching with one backtrack point: linear in practice, never exponential.
    std::size_t p = 0, n = 0, star = std::u16string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || ascii_lower(pattern[p]) == ascii_lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != std::u16string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

mapped_path map_device_path(LPCWSTR device_path) {
    mapped_path result;
    std::string ignored;
    if (!device_path || !utf16_to_utf8(device_path, ignored)) {
        result.error = ERROR_INVALID_NAME;
        return result;
    }
    std::vector<std::u16string> names = split_components(device_path);
    std::string folder = device_folder();
    if (folder.empty()) {
        // No device attached: no path may fall through to the host's own root.
        result.error = ERROR_PATH_NOT_FOUND;
        return result;
    }
    bool folder_exists = true;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::u16string& name = names[i];
        bool last = i + 1 == names.size();
        if (!is_valid_component(name) || (!last && has_wildcards(name))) {
            result.error = ERROR_INVALID_NAME;
            return result;
        }
        if (last) {
            std::error_code error;
            result.parent = folder;
            result.parent_exists = folder_exists && std::filesystem::is_directory(folder, error);
            result.last = name;
        }
        std::string name_utf8;
        utf16_to_utf8(name.c_str(), name_utf8);
        std::string entry = folder_exists && !has_wildcards(name) ? find_entry(folder, name_utf8, name) : "";
        folder += "/" + (entry.empty() ? name_utf8 : entry);
        if (entry.empty()) folder_exists = false;
    }
    result.host = folder;
    return result;
}

}  // namespace device_simulator
