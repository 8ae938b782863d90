// launcher-sim: runs the start-up program once on the device simulator.
//   launcher-sim --device DIR [--card NAME]... [--trace FILE]
// Exits with the program's own result (0 or 1); 2 for a usage error.
#include <getopt.h>

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

const char usage_line[] = "usage: launcher-sim --device DIR [--card NAME]... [--trace FILE]\n";

const char help_text[] =
    "Runs the start-up program once on the device simulator and exits with its\n"
    "result: 0 when it started the application, 1 when it showed the insert-card\n"
    "message. Message boxes appear on standard output as \"<caption>: <text>\".\n"
    "\n"
    "Options:\n"
    "  --device DIR   the folder that stands for the device's root \"\\\"\n"
    "  --card NAME    a storage card, the folder DIR/NAME with the root \"\\NAME\"; repeat\n"
    "                 it to give the cards in enumeration order. Without it, every\n"
    "                 folder of DIR but \"Windows\" is a card, in byte order of names\n"
    "  --trace FILE   one line per platform call, in call order: the function's name\n"
    "                 and its arguments (\"-\": standard error)\n"
    "  -h, --help     print this help and exit\n"
    "\n"
    "Exit status: the program's result (0 or 1), 2 for a usage error.\n";

struct options {
    bool help = false;
    std::string device;
    std::vector<std::string> cards;
    bool cards_named = false;
    std::string trace;
};

int fail_usage(const std::string& problem) {
    std::fprintf(stderr, "launcher-sim: %s\n%s", problem.c_str(), usage_line);
    return usage_error;
}

// Returns 0 when the arguments are good, else the usage error after saying
// why. "+" stops at the first argument that is not an option; ":" lets a
// missing value be told from an unknown option.
int parse_options(int argc, char** argv, options& parsed) {
    static const option long_options[] = {
        {"device", required_argument, nullptr, 'd'},
        {"card", required_argument, nullptr, 'c'},
        {"trace", required_argument, nullptr, 't'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int choice; (choice = getopt_long(argc, argv, "+:h", long_options, nullptr)) != -1;) {
        switch (choice) {
            case 'h': parsed.help = true; return 0;
            case 'd': parsed.device = optarg; break;
            case 'c':
                parsed.cards.push_back(optarg);
                parsed.cards_named = true;
                break;
            case 't': parsed.trace = optarg; break;
            case ':': return fail_usage(std::string(argv[optind - 1]) + " needs a value");
            default: return fail_usage(std::string("unknown argument '") + argv[optind - 1] + "'");
        }
    }
    if (optind < argc) return fail_usage(std::string("unknown argument '") + argv[optind] + "'");
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
    if (parsed.help) {
        std::printf("%s%s", usage_line, help_text);
        return 0;
    }
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
