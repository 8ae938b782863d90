// The simulator's kernel handles: searches, processes and threads. Handle
// values are never reused, so a stale handle fails instead of reaching a new
// object.
#pragma once

#include <memory>

#include "simulator/windows_ce_api.hpp"

namespace device_simulator {

struct kernel_object {
    virtual ~kernel_object() = default;
};

HANDLE open_handle(std::shared_ptr<kernel_object> object);
std::shared_ptr<kernel_object> find_object(HANDLE handle);
bool close_any_handle(HANDLE handle);

// The object behind `handle` if it is of type T; null otherwise.
template <class T>
std::shared_ptr<T> object_of(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(find_object(handle));
}

// Removes the handle if it refers to an object of type T.
template <class T>
bool close_object(HANDLE handle) {
    return object_of<T>(handle) && close_any_handle(handle);
}

}  // namespace device_simulator
