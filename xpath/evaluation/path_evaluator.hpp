// path_evaluator: evaluates one expression against one node of a TinyXML
// tree. A document is the root node itself; any other base node is hung
// under a temporary document that stands for the root node while the
// expression runs. It numbers the tree in document order, scans, decodes and
// executes, keeps the single result, and restores the tree. No exception of
// the engine leaves it; the outcome is an eval_status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "action_log.hpp"
#include "bound_variables.hpp"
#include "evaluation_context.hpp"
#include "path_value.hpp"
#include "value_stack.hpp"
#include "front_end/expression_front_end.hpp"
#include "xpath/xpath.hpp"  // eval_status, variable_bindings

class TiXmlDocument;
class TiXmlNode;

namespace xpath {

class path_evaluator : public expression_front_end {
public:
    // A null base node counts as no base node. `variables` may be null, and
    // must outlive the evaluator.
    path_evaluator(TiXmlNode* base_node, const char* expression, const variable_bindings* variables = nullptr);
    ~path_evaluator() override;

    std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                               const char* literal) override;
    std::int32_t action_count() override;

    // The result's integer and string conversions, made while the tree still
    // hangs under the temporary root: a result that holds the root node reads
    // the whole text below it.
    struct conversions {
        std::int32_t as_int = 0;
        std::string as_string;
    };

    // Runs the pipeline once; returns a copy of the result, and with
    // `converted` its conversions (0 and "" after a failure).
    path_value evaluate(conversions* converted = nullptr);
    std::int32_t evaluate_as_int();

    eval_status status() const { return status_; }
    // For diagnosis only: the code of the execution error that ended the
    // last evaluation, and the text of its syntax error.
    std::int32_t caught_code() const { return caught_code_; }
    const std::string& caught_text() const { return caught_text_; }
    // The actions the last evaluation recorded, in recording order.
    const action_log& actions() const { return actions_; }
    // The temporary root of the last evaluation, once it is detached, for a
    // result that names it ("/") to outlive the evaluator; null when the base
    // node was a document.
    std::unique_ptr<TiXmlDocument> take_temporary_root();

private:
    eval_status status_ = eval_status::status_ok;
    value_stack values_;
    action_log actions_;
    evaluation_context context_;
    bound_variables variables_;
    path_value result_;
    TiXmlNode* saved_parent_ = nullptr;
    TiXmlNode* saved_previous_ = nullptr;
    TiXmlNode* saved_next_ = nullptr;
    TiXmlNode* base_node_ = nullptr;
    std::int32_t caught_code_ = 0;
    std::string caught_text_;
    // The temporary root after detaching: unlinked and childless, kept until
    // the evaluator goes, because the result may hold it ("/a/..").
    std::unique_ptr<TiXmlDocument> retired_root_;
    bool root_is_temporary_ = false;

    // Runs the pipeline once and sets status and result, and converts it
    // into `converted` unless that is null. The engine's own errors become
    // the status; only an allocation failure passes through.
    void run_guarded(conversions* converted);
    void convert_result(conversions& converted);
    void run_pipeline();
    void attach_root();
    void attach_temporary_root();
    void detach_temporary_root();
    void number_nodes();
};

}  // namespace xpath
