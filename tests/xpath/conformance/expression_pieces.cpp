// The neutral expression pieces and the pattern filler.
#include "expression_pieces.hpp"

namespace conformance {

std::string name_test(random_source& random, name_pool pool) { return random_element_name(random, pool); }

// A step is '*' now and then, so that paths of three steps still find nodes.
std::string child_step(random_source& random) {
    if (random.percent(30)) return "*";
    return name_test(random);
}

std::string child_path(random_source& random) {
    std::int32_t steps = random.between(1, 3);
    std::string path = child_step(random);
    for (std::int32_t i = 1; i < steps; ++i) path += "/" + child_step(random);
    return path;
}

std::string small_integer(random_source& random) { return std::to_string(random.between(0, 9)); }

std::string neutral_number(random_source& random) {
    if (random.percent(60)) return small_integer(random);
    return "count(" + child_path(random) + ")";
}

std::string literal(const std::string& text) {
    if (text.find('\'') == std::string::npos) return "'" + text + "'";
    return "\"" + text + "\"";
}

std::string fill(const std::string& pattern, std::initializer_list<std::string> parts) {
    std::string out;
    const std::string* next = parts.begin();
    for (char c : pattern) {
        if (c == '%' && next != parts.end()) {
            out += *next++;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace conformance
