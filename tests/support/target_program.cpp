// Starting the build's programs from tests, through the build's emulator when
// it has one (TARGET_EMULATOR: its words separated by spaces, empty in a
// native build).
#include "support/target_program.hpp"

#include <filesystem>
#include <sstream>

namespace test_support {
namespace {

std::vector<std::string> emulator_words() {
    std::vector<std::string> words;
    std::istringstream text(TARGET_EMULATOR);
    for (std::string word; text >> word;) words.push_back(word);
    return words;
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

std::vector<std::string> target_command(const std::string& program) {
    std::vector<std::string> words = emulator_words();
    words.push_back(program);
    return words;
}

std::string shell_words(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + quoted(word);
    return line;
}

void install_target_program(const temporary_device& device, const std::string& relative, const std::string& program) {
    if (emulator_words().empty()) {
        std::filesystem::path target = device.host(relative);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(program, target);
        return;
    }
    // exec keeps the process that the simulator started, so its thread times are the program's.
    device.write_program(relative, "exec " + shell_words(target_command(program)) + " \"$@\"");
}

}  // namespace test_support
