// Device paths to host paths. "\A\B" names <device folder>/A/B; components
// match existing names case-insensitively (ASCII), as on the device, and
// components that do not exist yet keep the spelling they were given.
#pragma once

#include <string>

#include "simulator/windows_ce_api.hpp"

namespace device_simulator {

struct mapped_path {
    DWORD error = ERROR_SUCCESS;  // ERROR_INVALID_NAME or ERROR_PATH_NOT_FOUND when unusable
    std::string host;             // the whole path on the host
    std::string parent;           // the host folder that holds the last component
    std::u16string last;          // the last component as given ("" after a trailing "\")
    bool parent_exists = false;
};

// Maps every component; the last one is kept as given when it holds wildcards.
mapped_path map_device_path(LPCWSTR device_path);

bool ascii_iequal(const std::u16string& a, const std::u16string& b);
bool has_wildcards(const std::u16string& component);
// "*" any run, "?" one character; ASCII letters match either case.
bool wildcard_match(const std::u16string& pattern, const std::u16string& name);

}  // namespace device_simulator
