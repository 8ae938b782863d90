// Which host folder is the device and which of its folders are the cards.
#include "device_state.hpp"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "simulator/device_simulator.hpp"

namespace device_simulator {
namespace {

struct device_configuration {
    std::mutex mutex;
    std::string folder;
    std::vector<std::string> cards;
};

device_configuration& configuration() {
    static device_configuration instance;
    return instance;
}

}  // namespace

void reset() {
    {
        std::lock_guard<std::mutex> lock(configuration().mutex);
        configuration().folder.clear();
        configuration().cards.clear();
    }
    reset_call_log();
    reset_user_interface();
}

void set_device_folder(const std::string& host_folder) {
    std::lock_guard<std::mutex> lock(configuration().mutex);
    configuration().folder = host_folder;
}

const std::string& device_folder() {
    return configuration().folder;
}

void set_storage_cards(const std::vector<std::string>& names) {
    std::lock_guard<std::mutex> lock(configuration().mutex);
    configuration().cards = names;
}

std::vector<std::string> storage_cards() {
    std::lock_guard<std::mutex> lock(configuration().mutex);
    return configuration().cards;
}

std::vector<std::string> folders_as_cards(const std::string& host_folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(host_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (name != "Windows" && entry->is_directory(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

HINSTANCE program_instance() {
    // Any distinct non-null value: the program only hands it back to LoadStringW.
    static char module_marker;
    return reinterpret_cast<HINSTANCE>(&module_marker);
}

}  // namespace device_simulator
