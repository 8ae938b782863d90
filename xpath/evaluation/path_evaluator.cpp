// The path evaluator. The tree is always restored: the temporary root is
// detached after every outcome, and by the destructor when an allocation
// failure passes through to the public entry (xpath.cpp), which reports it
// as an execution error.
#include "path_evaluator.hpp"

#include <cstdint>

#include <tinyxml.h>

#include "action_executor.hpp"
#include "evaluation_errors.hpp"
#include "node_collection.hpp"
#include "number_text.hpp"
#include "tree_links.hpp"
#include "front_end/lexer.hpp"
#include "front_end/xpath_errors.hpp"

namespace xpath {

path_evaluator::path_evaluator(TiXmlNode* base, const char* expression, const variable_bindings* variables)
    : expression_front_end(expression), variables_(variables), base_node_(expression ? base : nullptr) {}

path_evaluator::~path_evaluator() {
    detach_temporary_root();
    values_.clear();
}

std::int32_t path_evaluator::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                           const char* literal) {
    return actions_.record_action(rule, sub_kind, variant, literal);
}

std::int32_t path_evaluator::action_count() {
    return actions_.action_count();
}

path_value path_evaluator::evaluate(conversions* converted) {
    run_guarded(converted);
    return result_;
}

void path_evaluator::run_guarded(conversions* converted) {
    caught_code_ = 0;
    caught_text_.clear();
    if (converted) *converted = conversions();
    try {
        run_pipeline();
        if (converted) convert_result(*converted);
    } catch (const syntax_error& error) {
        result_ = path_value();
        status_ = eval_status::status_syntax;
        caught_text_ = error.text();
    } catch (const syntax_overflow&) {
        result_ = path_value();
        status_ = eval_status::status_overflow;
    } catch (const execution_error& error) {
        result_ = path_value();
        status_ = eval_status::status_execution;
        caught_code_ = error.code();
    }
    if (converted && status_ != eval_status::status_ok) *converted = conversions();
    detach_temporary_root();
}

void path_evaluator::run_pipeline() {
    attach_root();
    if (!context_.root) raise_execution_error(execution_code::no_base_node);
    scan_lexemes(reader, *walker);
    walker->decode_expression();
    actions_.move_cursor_to_last();
    action_executor(actions_, values_, context_).run_rule(grammar_rule::Expr, false);
    if (values_.count() == 1) {
        result_ = values_.pop_value();
        status_ = eval_status::status_ok;
    } else {
        result_ = path_value();
        status_ = eval_status::status_unbalanced;
    }
}

// Converts the result itself where that leaves it as it is: a collection
// in document order is not reordered by the conversion. The string comes
// first, since a collection's integer conversion is that of its string.
void path_evaluator::convert_result(conversions& converted) {
    if (result_.kind != value_kind::kind_nodes || result_.nodes.is_in_document_order()) {
        converted.as_string = result_.to_string();
    } else {
        path_value copy = result_;
        converted.as_string = copy.to_string();
    }
    converted.as_int = result_.kind == value_kind::kind_nodes ? parse_int(converted.as_string) : result_.to_int();
}

std::int32_t path_evaluator::evaluate_as_int() {
    conversions converted;
    run_guarded(&converted);
    return status_ == eval_status::status_ok ? converted.as_int : 0;
}

// The context is the base node, at position 1 of 1.
void path_evaluator::attach_root() {
    context_ = evaluation_context();
    if (!base_node_) return;
    if (base_node_->ToDocument()) {
        context_.root = base_node_;
    } else {
        attach_temporary_root();
    }
    context_.context_node = node_of(base_node_);
    variables_.start(context_.root);
    context_.variables = &variables_;
    number_nodes();
}

// The base node's own links are saved and replaced by the temporary root's,
// so that no axis leaves the base node's subtree.
void path_evaluator::attach_temporary_root() {
    TiXmlDocument* root = new TiXmlDocument();
    saved_parent_ = tree_links::parent_of(base_node_);
    saved_previous_ = tree_links::previous_of(base_node_);
    saved_next_ = tree_links::next_of(base_node_);
    tree_links::parent_of(base_node_) = root;
    tree_links::previous_of(base_node_) = nullptr;
    tree_links::next_of(base_node_) = nullptr;
    tree_links::first_child_of(root) = base_node_;
    tree_links::last_child_of(root) = base_node_;
    context_.root = root;
    root_is_temporary_ = true;
}

std::unique_ptr<TiXmlDocument> path_evaluator::take_temporary_root() {
    return std::move(retired_root_);
}

void path_evaluator::detach_temporary_root() {
    if (!root_is_temporary_) return;
    root_is_temporary_ = false;
    tree_links::parent_of(base_node_) = saved_parent_;
    tree_links::previous_of(base_node_) = saved_previous_;
    tree_links::next_of(base_node_) = saved_next_;
    tree_links::first_child_of(context_.root) = nullptr;
    tree_links::last_child_of(context_.root) = nullptr;
    retired_root_.reset(static_cast<TiXmlDocument*>(context_.root));
}

// Pre-order from the root node, which gets 1, along the tree's own links;
// attributes get no number.
void path_evaluator::number_nodes() {
    std::int32_t number = 1;
    TiXmlNode* top = context_.root;
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

}  // namespace xpath
