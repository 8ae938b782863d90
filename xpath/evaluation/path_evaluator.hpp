// path_evaluator: evaluates one expression against one node of a TinyXML
// tree. It hangs the base node under a temporary element "root", numbers the
// tree in document order, scans, decodes and executes, keeps the single
// result, and restores the tree. No exception of the engine leaves it; the
// outcome is an eval_status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "action_log.hpp"
#include "evaluation_context.hpp"
#include "path_value.hpp"
#include "sibling_positions.hpp"
#include "value_stack.hpp"
#include "xpath/front_end/expression_front_end.hpp"

class TiXmlElement;
class TiXmlNode;

namespace xpath {

// ORDER eval_status
enum class eval_status : std::int32_t {
    status_ok = 0,          // exactly one value was left: the result
    status_syntax = 1,      // syntax_error: a malformed expression
    status_overflow = 2,    // syntax_overflow: decoding entered too many rules
    status_execution = 3,   // execution_error or error_not_yet while executing
    status_unbalanced = 4,  // execution left zero or several values
};

class path_evaluator : public expression_front_end {
public:
    // A null or document base node counts as no base node.
    path_evaluator(TiXmlNode* base_node, const char* expression);
    ~path_evaluator() override;

    std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                               const char* literal) override;
    std::int32_t action_count() override;

    // Runs the pipeline once; returns a copy of the result.
    path_value evaluate();
    std::int32_t evaluate_as_int();

    eval_status status = eval_status::status_ok;
    value_stack values;
    action_log actions;
    evaluation_context context;
    path_value result;
    TiXmlNode* saved_parent = nullptr;
    TiXmlNode* saved_previous = nullptr;
    TiXmlNode* saved_next = nullptr;
    TiXmlNode* base_node = nullptr;

    // For diagnosis only: the code of the execution error that ended the
    // last evaluation, and the text of its syntax error.
    std::int32_t caught_code = 0;
    std::string caught_text;

private:
    // The temporary root after detaching: unlinked and childless, kept until
    // the evaluator goes, because the result may hold it ("/a/parent::*").
    std::unique_ptr<TiXmlElement> retired_root_;
    sibling_positions siblings_;

    // Runs the pipeline once and sets status and result; nothing escapes.
    void run_guarded();
    void run_pipeline();
    void attach_synthetic_root();
    void detach_synthetic_root();
    void number_nodes();
};

// The launcher's entry: evaluates and stores the integer conversion of the
// result in *out (0 after any failure); true when the status is status_ok.
bool evaluate_int(TiXmlNode* base_node, const char* expression, std::int32_t* out);

}  // namespace xpath
