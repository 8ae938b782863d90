// The path evaluator. The tree is always restored: the temporary root is
// detached after every outcome, including allocation failures, which count as
// execution errors so that nothing escapes to the caller.
#include "path_evaluator.hpp"

#include <cstdint>
#include <exception>

#include <tinyxml.h>

#include "action_executor.hpp"
#include "evaluation_errors.hpp"
#include "node_collection.hpp"
#include "tree_links.hpp"
#include "xpath/front_end/lexer.hpp"
#include "xpath/front_end/xpath_errors.hpp"

namespace xpath {
namespace {


bool is_usable_base(TiXmlNode* node) {
    // Linking a document under another node would make TinyXML delete it.
    return node && !node->ToDocument();
}

}  // namespace

path_evaluator::path_evaluator(TiXmlNode* base, const char* expression)
    : expression_front_end(expression), base_node(expression && is_usable_base(base) ? base : nullptr) {}

path_evaluator::~path_evaluator() {
    detach_synthetic_root();
    values.clear();
}

std::int32_t path_evaluator::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                           const char* literal) {
    return actions.record_action(rule, sub_kind, variant, literal);
}

std::int32_t path_evaluator::action_count() {
    return actions.action_count();
}

path_value path_evaluator::evaluate() {
    run_guarded();
    return result;
}

void path_evaluator::run_guarded() {
    caught_code = 0;
    caught_text.clear();
    try {
        run_pipeline();
    } catch (const syntax_error& error) {
        result = path_value();
        status = eval_status::status_syntax;
        caught_text = error.text();
    } catch (const syntax_overflow&) {
        result = path_value();
        status = eval_status::status_overflow;
    } catch (const execution_error& error) {
        result = path_value();
        status = eval_status::status_execution;
        caught_code = error.code();
    } catch (const std::exception&) {
        result = path_value();
        status = eval_status::status_execution;
    }
    detach_synthetic_root();
}

void path_evaluator::run_pipeline() {
    attach_synthetic_root();
    if (!context.synthetic_root) raise_execution_error(execution_code::no_base_node);
    scan_lexemes(reader, *walker);
    walker->decode_expression();
    actions.move_cursor_to_last();
    action_executor(actions, values, context).run_rule(grammar_rule::Expr, false);
    if (values.count() == 1) {
        result = values.pop_value();
        status = eval_status::status_ok;
    } else {
        result = path_value();
        status = eval_status::status_unbalanced;
    }
}

// Converts the result itself where that leaves it as it is: a collection
// in document order is not reordered by the conversion.
std::int32_t path_evaluator::evaluate_as_int() {
    run_guarded();
    if (result.kind != value_kind::kind_nodes || result.nodes.is_in_document_order()) return result.to_int();
    path_value copy = result;
    return copy.to_int();
}

void path_evaluator::attach_synthetic_root() {
    context.synthetic_root = nullptr;
    if (!base_node) return;
    TiXmlElement* root = new TiXmlElement("root");
    saved_parent = tree_links::parent_of(base_node);
    saved_previous = tree_links::previous_of(base_node);
    saved_next = tree_links::next_of(base_node);
    tree_links::parent_of(base_node) = nullptr;
    tree_links::previous_of(base_node) = nullptr;
    tree_links::next_of(base_node) = nullptr;
    root->LinkEndChild(base_node);
    context.synthetic_root = root;
    context.context_element = base_node->ToElement();
    siblings_ = sibling_positions();  // lists of an earlier run may be out of date
    context.siblings = &siblings_;
    number_nodes();
}

void path_evaluator::detach_synthetic_root() {
    if (!context.synthetic_root) return;
    tree_links::parent_of(base_node) = saved_parent;
    tree_links::previous_of(base_node) = saved_previous;
    tree_links::next_of(base_node) = saved_next;
    tree_links::first_child_of(context.synthetic_root) = nullptr;
    tree_links::last_child_of(context.synthetic_root) = nullptr;
    retired_root_.reset(context.synthetic_root);
    context.synthetic_root = nullptr;
}

// Pre-order from the temporary root, which gets 1, along the tree's own
// links; attributes get no number.
void path_evaluator::number_nodes() {
    std::int32_t number = 1;
    TiXmlNode* top = context.synthetic_root;
    for (TiXmlNode* node = top; node;) {
        // Unchanged numbers are not written again: a repeated evaluation then
        // only reads the tree, and leaves its memory clean.
        void* numbered = reinterpret_cast<void*>(static_cast<std::intptr_t>(number));
        if (node->GetUserData() != numbered) node->SetUserData(numbered);
        ++number;
        if (TiXmlNode* child = node->FirstChild()) {
            node = child;
            continue;
        }
        while (node != top && !node->NextSibling()) node = node->Parent();
        node = node == top ? nullptr : node->NextSibling();
    }
}

bool evaluate_int(TiXmlNode* base_node, const char* expression, std::int32_t* out) {
    std::int32_t value = 0;
    bool succeeded = false;
    try {
        path_evaluator evaluator(base_node, expression);
        value = evaluator.evaluate_as_int();
        succeeded = evaluator.status == eval_status::status_ok;
    } catch (const std::exception&) {
        value = 0;  // the evaluator itself could not be built
    }
    if (out) *out = succeeded ? value : 0;
    return succeeded;
}

}  // namespace xpath
