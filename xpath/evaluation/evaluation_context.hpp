// The evaluator's state that the executor, the steps and the functions read:
// the temporary root, the context element and the same-name flag.
#pragma once

class TiXmlElement;

namespace xpath {

struct evaluation_context {
    TiXmlElement* synthetic_root = nullptr;   // the temporary "root" while an evaluation runs
    TiXmlElement* context_element = nullptr;  // where relative paths, position(), last() and text() start
    bool same_name = false;                   // while a named step's predicate runs: count same-name siblings
};

// Sets the context element and the same-name flag for one predicate and
// restores the earlier ones when it ends, also when it ends in an error.
class context_scope {
public:
    context_scope(evaluation_context& context, TiXmlElement* element, bool same_name)
        : context_(context), saved_(context) {
        context_.context_element = element;
        context_.same_name = same_name;
    }
    ~context_scope() { context_ = saved_; }
    context_scope(const context_scope&) = delete;
    context_scope& operator=(const context_scope&) = delete;

private:
    evaluation_context& context_;
    evaluation_context saved_;
};

}  // namespace xpath
