// sibling_positions: an element's position among its parent's element
// children, and their number, for the predicates and the position() and
// last() functions of one evaluation. Each parent's children are listed
// once, by their document-order numbers, so that a step over n candidates
// costs n look-ups instead of n walks along the siblings.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TiXmlElement;
class TiXmlNode;

namespace xpath {

class sibling_positions {
public:
    // As sibling_position (axes.hpp); valid while the tree keeps the
    // document-order numbers and links it had at the first question.
    std::int32_t position(const TiXmlElement* element, bool by_name);
    // As sibling_count (axes.hpp).
    std::int32_t count(const TiXmlElement* element);

private:
    struct children {
        std::vector<std::int32_t> all;  // document-order numbers, ascending
        std::unordered_map<std::string, std::vector<std::int32_t>> by_name;
    };
    const children& children_of(const TiXmlNode* parent);

    std::unordered_map<const TiXmlNode*, children> parents_;
    const TiXmlNode* last_parent_ = nullptr;  // the parent asked last, and its entry
    const children* last_children_ = nullptr;
    const std::string* last_name_ = nullptr;  // the name asked last under that parent, and its list
    const std::vector<std::int32_t>* last_named_ = nullptr;
    std::size_t hint_ = 0;  // the slot after the last position found, in whichever list
};

}  // namespace xpath
