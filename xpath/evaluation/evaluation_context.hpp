// The evaluator's state that the executor, the steps and the functions read:
// the root node of the tree, XPath's context (the context node, its position
// and the context size) and the variables.
#pragma once

#include <cstdint>

#include "node_ref.hpp"

namespace xpath {

class bound_variables;

struct evaluation_context {
    TiXmlNode* root = nullptr;  // the root node: the document, or the temporary one above the base node
    node_ref context_node;      // where relative paths start and what the context functions read
    std::int32_t position = 1;  // position(): the context node's place among the nodes being filtered
    std::int32_t size = 1;      // last(): how many nodes are being filtered
    bound_variables* variables = nullptr;  // what "$name" reads
};

// Sets the context node, position and size for one predicate and restores
// the earlier ones when it ends, also when it ends in an error.
class context_scope {
public:
    context_scope(evaluation_context& context, const node_ref& node, std::int32_t position, std::int32_t size)
        : context_(context), saved_(context) {
        context_.context_node = node;
        context_.position = position;
        context_.size = size;
    }
    ~context_scope() { context_ = saved_; }
    context_scope(const context_scope&) = delete;
    context_scope& operator=(const context_scope&) = delete;

private:
    evaluation_context& context_;
    evaluation_context saved_;
};

}  // namespace xpath
