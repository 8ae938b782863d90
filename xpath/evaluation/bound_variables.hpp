// bound_variables: the caller's variable bindings as one evaluation reads
// them. A node-set binding is checked against the tree the expression runs
// on and put in document order when it is first read, then kept for the
// rest of the evaluation.
#pragma once

#include <map>
#include <string>

#include "path_value.hpp"
#include "xpath/xpath.hpp"  // variable_bindings

namespace xpath {

class bound_variables {
public:
    explicit bound_variables(const variable_bindings* bindings) : bindings_(bindings) {}

    // Forgets what earlier evaluations read; `root` is the root node of the next one.
    void start(TiXmlNode* root);
    // The value bound to `name`. Raises no_execution when there is none, and
    // variable_outside_tree for a node that is not in the tree.
    const path_value& value_of(const std::string& name);

private:
    path_value resolved(const variable_bindings::value& bound) const;
    node_ref node_in_tree(const result_node& entry) const;

    const variable_bindings* bindings_;
    TiXmlNode* root_ = nullptr;
    std::map<std::string, path_value> resolved_;
};

}  // namespace xpath
