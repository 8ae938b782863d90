// Reading the list of known differences.
#include "known_differences.hpp"

#include <fstream>
#include <set>

namespace conformance {
namespace {

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        char next = text[++i];
        if (next == 't')
            out += '\t';
        else if (next == 'n')
            out += '\n';
        else if (next == 'r')
            out += '\r';
        else
            out += next;
    }
    return out;
}

}  // namespace

bool known_difference_list::lists(const std::string& rule) const {
    for (const known_difference& entry : entries)
        if (entry.example.rule == rule) return true;
    return false;
}

known_difference_list parse_known_differences(std::istream& in, const std::string& source_name) {
    known_difference_list list;
    std::set<std::string> rules;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string where = source_name + " line " + std::to_string(number) + ": ";
        std::vector<std::string> fields = split_tabs(line);
        if (fields.size() != 3 || fields[0].empty() || fields[1].empty() || fields[2].empty()) {
            list.problems.push_back(where + "expected rule, document and expression separated by tabs, got '" + line +
                                    "'");
            continue;
        }
        if (!rules.insert(fields[0]).second) {
            list.problems.push_back(where + "rule " + fields[0] + " is listed twice");
            continue;
        }
        list.entries.push_back({{fields[0], fields[1], unescape(fields[2])}, number});
    }
    return list;
}

known_difference_list read_known_differences(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        known_difference_list list;
        list.problems.push_back("cannot open the list of known differences " + path);
        return list;
    }
    return parse_known_differences(in, path);
}

}  // namespace conformance
