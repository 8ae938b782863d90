// Sibling positions. Document-order numbers grow along the siblings, so a
// position is a binary search in the parent's list of numbers.
#include "sibling_positions.hpp"

#include <algorithm>

#include <tinyxml.h>

#include "axes.hpp"
#include "evaluation_context.hpp"
#include "node_collection.hpp"
#include "tree_text.hpp"

namespace xpath {
namespace {

// Candidates mostly come in document order, so the slot after the last
// one found is tried before a binary search.
std::int32_t position_in(const std::vector<std::int32_t>& numbers, std::int32_t number, std::size_t& hint) {
    if (hint < numbers.size() && numbers[hint] == number) return static_cast<std::int32_t>(++hint);
    auto found = std::lower_bound(numbers.begin(), numbers.end(), number);
    if (found == numbers.end() || *found != number) return -1;
    hint = static_cast<std::size_t>(found - numbers.begin()) + 1;
    return static_cast<std::int32_t>(hint);
}

}  // namespace

const sibling_positions::children& sibling_positions::children_of(const TiXmlNode* parent) {
    if (parent == last_parent_) return *last_children_;
    last_named_ = nullptr;
    auto inserted = parents_.emplace(parent, children());
    children& entry = inserted.first->second;
    if (inserted.second) {
        // Runs of one name are common: the list of the previous name is kept at hand.
        const std::string* previous_name = nullptr;
        std::vector<std::int32_t>* named = nullptr;
        for (const TiXmlElement* child = first_child_element(parent); child; child = next_sibling_element(child)) {
            std::int32_t number = document_order_of(child);
            entry.all.push_back(number);
            if (!previous_name || !value_is(child, *previous_name)) {
                auto listed = entry.by_name.emplace(value_of(child), std::vector<std::int32_t>()).first;
                previous_name = &listed->first;
                named = &listed->second;
            }
            named->push_back(number);
        }
    }
    last_parent_ = parent;
    last_children_ = &entry;
    return entry;
}

std::int32_t sibling_positions::position(const TiXmlElement* element, bool by_name) {
    const TiXmlNode* parent = element->Parent();
    if (!parent) return -1;
    const children& listed = children_of(parent);
    std::int32_t number = document_order_of(element);
    if (!by_name) return position_in(listed.all, number, hint_);
    if (last_named_ && value_is(element, *last_name_)) return position_in(*last_named_, number, hint_);
    auto same_name = listed.by_name.find(value_of(element));
    if (same_name == listed.by_name.end()) return -1;
    last_name_ = &same_name->first;
    last_named_ = &same_name->second;
    return position_in(same_name->second, number, hint_);
}

std::int32_t sibling_positions::count(const TiXmlElement* element) {
    const TiXmlNode* parent = element->Parent();
    if (!parent) return 0;
    return static_cast<std::int32_t>(children_of(parent).all.size());
}

std::int32_t evaluation_context::position_of(const TiXmlElement* element, bool by_name) const {
    return siblings ? siblings->position(element, by_name) : sibling_position(element, by_name);
}

std::int32_t evaluation_context::sibling_count_of(const TiXmlElement* element) const {
    return siblings ? siblings->count(element) : sibling_count(element);
}

}  // namespace xpath
