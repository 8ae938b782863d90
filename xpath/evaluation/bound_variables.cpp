// Reading variable bindings. A result_node names its node through const
// pointers, as results hand them out; the engine reads the tree only, so
// the collection may name them again.
#include "bound_variables.hpp"

#include <tinyxml.h>

#include "evaluation_errors.hpp"

namespace xpath {
namespace {

bool holds_attribute(const TiXmlElement* element, const TiXmlAttribute* attribute) {
    for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
        if (a == attribute) return true;
    return false;
}

}  // namespace

void bound_variables::start(TiXmlNode* root) {
    root_ = root;
    resolved_.clear();
}

const path_value& bound_variables::value_of(const std::string& name) {
    auto known = resolved_.find(name);
    if (known != resolved_.end()) return known->second;
    const variable_bindings::value* bound = bindings_ ? bindings_->find(name) : nullptr;
    if (!bound) raise_execution_error(execution_code::no_execution);
    return resolved_.emplace(name, resolved(*bound)).first->second;
}

path_value bound_variables::resolved(const variable_bindings::value& bound) const {
    switch (bound.kind) {
        case value_kind::kind_string: return path_value(bound.text);
        case value_kind::kind_double: return path_value(bound.number);
        case value_kind::kind_bool: return path_value(bound.truth);
        case value_kind::kind_nodes: break;
        default: raise_execution_error(execution_code::no_execution);
    }
    node_collection nodes;
    for (const result_node& entry : bound.nodes) nodes.append(node_in_tree(entry));
    nodes.sort_document_order();
    return path_value(std::move(nodes));
}

// The entry as a node_ref, once its node is found below the root node.
node_ref bound_variables::node_in_tree(const result_node& entry) const {
    const TiXmlNode* node = entry.attribute ? entry.element : entry.node;
    if (!node || (entry.attribute && !holds_attribute(entry.element, entry.attribute)))
        raise_execution_error(execution_code::variable_outside_tree);
    const TiXmlNode* up = node;
    while (up && up != root_) up = up->Parent();
    if (!up) raise_execution_error(execution_code::variable_outside_tree);
    return node_ref{const_cast<TiXmlNode*>(node), const_cast<TiXmlAttribute*>(entry.attribute)};
}

}  // namespace xpath
