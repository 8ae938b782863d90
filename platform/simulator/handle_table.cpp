// Handle table: maps handle values to the simulator's objects.
#include "handle_table.hpp"

#include <cstdint>
#include <map>
#include <mutex>

namespace device_simulator {
namespace {

struct handle_registry {
    std::mutex mutex;
    std::uintptr_t next_value = 0x1000;
    std::map<std::uintptr_t, std::shared_ptr<kernel_object>> objects;
};

handle_registry& registry() {
    static handle_registry instance;
    return instance;
}

}  // namespace

HANDLE open_handle(std::shared_ptr<kernel_object> object) {
    handle_registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::uintptr_t value = r.next_value;
    r.next_value += 4;
    r.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<kernel_object> find_object(HANDLE handle) {
    handle_registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto found = r.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == r.objects.end() ? nullptr : found->second;
}

bool close_any_handle(HANDLE handle) {
    handle_registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.objects.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace device_simulator
