// launcher-sim: runs the start-up program once on the device simulator.
//   launcher-sim --device DIR [--card NAME]... [--trace FILE]
// Exits with the program's own result (0 or 1); 2 for a usage error.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/run_launcher.hpp"
#include "simulator/device_simulator.hpp"

namespace {

constexpr int usage_error = 2;

struct options {
    std::string device;
    std::vector<std::string> cards;
    bool cards_named = false;
    std::string trace;
};

int fail_usage(const std::string& problem) {
    std::fprintf(stderr, "launcher-sim: %s\nusage: launcher-sim --device DIR [--card NAME]... [--trace FILE]\n",
                 problem.c_str());
    return usage_error;
}

// Returns 0 when the arguments are good, else the usage error after saying why.
int parse_options(int argc, char** argv, options& parsed) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option != "--device" && option != "--card" && option != "--trace")
            return fail_usage("unknown argument '" + option + "'");
        if (i + 1 >= argc) return fail_usage(option + " needs a value");
        std::string value = argv[++i];
        if (option == "--device") {
            parsed.device = value;
        } else if (option == "--card") {
            parsed.cards.push_back(value);
            parsed.cards_named = true;
        } else {
            parsed.trace = value;
        }
    }
    if (parsed.device.empty()) return fail_usage("--device is required");
    return 0;
}

int check_folders(const options& parsed) {
    std::error_code error;
    if (!std::filesystem::is_directory(parsed.device, error))
        return fail_usage("device folder not found: " + parsed.device);
    for (const std::string& card : parsed.cards) {
        if (card.empty() || card.find_first_of("/\\") != std::string::npos)
            return fail_usage("card name must be one folder name: '" + card + "'");
        if (!std::filesystem::is_directory(parsed.device + "/" + card, error))
            return fail_usage("card folder not found: " + parsed.device + "/" + card);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    options parsed;
    if (int problem = parse_options(argc, argv, parsed)) return problem;
    if (int problem = check_folders(parsed)) return problem;

    std::FILE* trace = nullptr;
    if (parsed.trace == "-") {
        trace = stderr;
    } else if (!parsed.trace.empty()) {
        trace = std::fopen(parsed.trace.c_str(), "w");
        if (!trace) return fail_usage("cannot write trace file " + parsed.trace + ": " + std::strerror(errno));
    }

    device_simulator::set_device_folder(parsed.device);
    device_simulator::set_storage_cards(parsed.cards_named ? parsed.cards
                                                           : device_simulator::folders_as_cards(parsed.device));
    device_simulator::set_trace_file(trace);
    device_simulator::set_message_box_output(stdout);

    int result = launcher::run_launcher(device_simulator::program_instance());

    device_simulator::set_trace_file(nullptr);
    if (trace && trace != stderr) std::fclose(trace);
    return result;
}
