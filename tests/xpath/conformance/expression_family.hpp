// An expression family: the rule it exercises, the shape of its documents,
// and the maker of its expressions. There is one family per rule; each file
// families_<group>.cpp holds one group and lists it here.
#pragma once

#include <string>
#include <vector>

#include "document_generator.hpp"
#include "random_source.hpp"

namespace conformance {

using expression_maker = std::string (*)(random_source&);

struct expression_family {
    std::string rule;
    document_shape shape;
    expression_maker make;
};

std::vector<expression_family> neutral_families();
std::vector<expression_family> tree_families();
std::vector<expression_family> step_families();
std::vector<expression_family> value_families();
std::vector<expression_family> operator_families();
std::vector<expression_family> comparison_families();
std::vector<expression_family> function_families();
std::vector<expression_family> syntax_families();

}  // namespace conformance
