// The list of known differences (known_differences.txt): one line per rule
// on which the project's engine still answers otherwise than the reference,
// "rule<TAB>document<TAB>expression", with one example. '#' starts a comment
// line. In the expression, \t, \n, \r and \\ stand for a tab, a line feed, a
// carriage return and a backslash. The test tolerates mismatches only in the
// listed rules, and checks that every example still differs.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "conformance_case.hpp"

namespace conformance {

struct known_difference {
    conformance_case example;  // its rule is the listed rule
    int line = 0;
};

struct known_difference_list {
    std::vector<known_difference> entries;
    std::vector<std::string> problems;  // "FILE line N: what is wrong, with the line's text"

    bool lists(const std::string& rule) const;
};

known_difference_list parse_known_differences(std::istream& in, const std::string& source_name);
known_difference_list read_known_differences(const std::string& path);

}  // namespace conformance
