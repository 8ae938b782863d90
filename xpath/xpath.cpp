// The public entries: evaluate runs a path_evaluator and copies what it left
// into an evaluation_result that holds no internal type, keeping alive only
// the temporary root that a node result may name; evaluate_int keeps only
// the integer. Each is the one place where an allocation failure of an
// evaluation is caught.
#include "xpath/xpath.hpp"

#include <exception>

#include <tinyxml.h>

#include "evaluation/number_text.hpp"
#include "evaluation/path_evaluator.hpp"

namespace xpath {
namespace {

void copy_trace(const path_evaluator& evaluator, evaluation_trace& trace) {
    const lexeme_chain& chain = *evaluator.walker;
    for (const lexeme* l = chain.first(); l && l != &chain.sentinel; l = l->next)
        trace.lexemes.push_back({code_of(l->kind), l->text});
    const action_log& log = evaluator.actions();
    for (std::int32_t i = 0; i < log.action_count(); ++i) trace.actions.push_back(log.read_action(i));
}

void copy_nodes(const node_collection& nodes, std::vector<result_node>& out) {
    out.reserve(nodes.count());
    for (const node_ref& ref : nodes) {
        result_node entry;
        if (ref.attribute) {
            entry.attribute = ref.attribute;
            entry.element = ref.node->ToElement();
        } else {
            entry.node = ref.node;
        }
        out.push_back(entry);
    }
}

void copy_value(const path_value& value, const path_evaluator::conversions& converted, evaluation_result& out) {
    out.kind = value.kind;
    switch (value.kind) {
        case value_kind::kind_bool: out.truth = value.truth; break;
        case value_kind::kind_string: out.text = value.text; break;
        case value_kind::kind_int: out.integer = value.integer; break;
        case value_kind::kind_double: out.real = value.real; break;
        case value_kind::kind_nodes: copy_nodes(value.nodes, out.nodes); break;
        case value_kind::kind_none: break;
    }
    out.as_int = converted.as_int;
    out.as_string = converted.as_string;
}

}  // namespace

const char* status_name(eval_status status) {
    switch (status) {
        case eval_status::status_ok: return "ok";
        case eval_status::status_syntax: return "syntax";
        case eval_status::status_overflow: return "overflow";
        case eval_status::status_execution: return "execution";
        case eval_status::status_unbalanced: return "unbalanced";
    }
    return "?";
}

void variable_bindings::bind_string(const std::string& name, const std::string& text) {
    value bound;
    bound.kind = value_kind::kind_string;
    bound.text = text;
    values_[name] = std::move(bound);
}

void variable_bindings::bind_number(const std::string& name, double number) {
    value bound;
    bound.kind = value_kind::kind_double;
    bound.number = number;
    values_[name] = std::move(bound);
}

void variable_bindings::bind_boolean(const std::string& name, bool truth) {
    value bound;
    bound.kind = value_kind::kind_bool;
    bound.truth = truth;
    values_[name] = std::move(bound);
}

void variable_bindings::bind_nodes(const std::string& name, const std::vector<result_node>& nodes) {
    value bound;
    bound.kind = value_kind::kind_nodes;
    bound.nodes = nodes;
    values_[name] = std::move(bound);
}

const variable_bindings::value* variable_bindings::find(const std::string& name) const {
    auto found = values_.find(name);
    return found == values_.end() ? nullptr : &found->second;
}

evaluation_result evaluate(TiXmlNode* base_node, const char* expression, evaluation_trace* trace,
                           const variable_bindings* variables) {
    evaluation_result out;
    try {
        path_evaluator evaluator(base_node, expression, variables);
        path_evaluator::conversions converted;
        path_value value = evaluator.evaluate(&converted);
        out.status = evaluator.status();
        out.error_code = evaluator.caught_code();
        out.error_text = evaluator.caught_text();
        if (trace) copy_trace(evaluator, *trace);
        copy_value(value, converted, out);
        out.keep_alive = std::shared_ptr<const TiXmlDocument>(evaluator.take_temporary_root());
    } catch (const std::exception&) {
        // Memory ran out; the evaluator's destructor has restored the tree.
        out = evaluation_result();
        out.status = eval_status::status_execution;
    }
    return out;
}

std::int32_t text_to_int(const std::string& text) {
    return parse_int(text);
}

bool evaluate_int(TiXmlNode* base_node, const char* expression, std::int32_t* out, const variable_bindings* variables) {
    std::int32_t value = 0;
    bool succeeded = false;
    try {
        path_evaluator evaluator(base_node, expression, variables);
        value = evaluator.evaluate_as_int();
        succeeded = evaluator.status() == eval_status::status_ok;
    } catch (const std::exception&) {
        value = 0;  // memory ran out; the evaluator's destructor has restored the tree
    }
    if (out) *out = succeeded ? value : 0;
    return succeeded;
}

}  // namespace xpath
