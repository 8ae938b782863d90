// The evaluator's state that the executor, the steps and the functions read:
// the temporary root, the context element and the same-name flag.
#pragma once

#include <cstdint>

class TiXmlElement;

namespace xpath {

class sibling_positions;

struct evaluation_context {
    TiXmlElement* synthetic_root = nullptr;   // the temporary "root" while an evaluation runs
    TiXmlElement* context_element = nullptr;  // where relative paths, position(), last() and text() start
    bool same_name = false;                   // while a named step's predicate runs: count same-name siblings
    sibling_positions* siblings = nullptr;    // the evaluation's position cache; none: walk the siblings
    // In a filter's predicate ("(a | b)[last()]"): the entry's position in
    // document order and the number of entries, which position() and last()
    // give. 0 elsewhere, where they count siblings.
    std::int32_t filter_position = 0;
    std::int32_t filter_size = 0;

    // sibling_position and sibling_count (axes.hpp), through the cache when there is one.
    std::int32_t position_of(const TiXmlElement* element, bool by_name) const;
    std::int32_t sibling_count_of(const TiXmlElement* element) const;
};

// Sets the context element, the same-name flag and the filter position for
// one predicate and restores the earlier ones when it ends, also when it ends
// in an error.
class context_scope {
public:
    context_scope(evaluation_context& context, TiXmlElement* element, bool same_name, std::int32_t filter_position = 0,
                  std::int32_t filter_size = 0)
        : context_(context), saved_(context) {
        context_.context_element = element;
        context_.same_name = same_name;
        context_.filter_position = filter_position;
        context_.filter_size = filter_size;
    }
    ~context_scope() { context_ = saved_; }
    context_scope(const context_scope&) = delete;
    context_scope& operator=(const context_scope&) = delete;

private:
    evaluation_context& context_;
    evaluation_context saved_;
};

}  // namespace xpath
