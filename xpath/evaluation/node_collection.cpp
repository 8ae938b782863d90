// Node collections. Membership uses an index beside the arrays, so building a
// collection is linear instead of quadratic; order and duplicates are the
// same as with a scan of the entries.
#include "node_collection.hpp"

#include <algorithm>
#include <cstdint>

#include <tinyxml.h>

#include "number_text.hpp"
#include "tree_text.hpp"

namespace xpath {

std::int32_t document_order_of(const TiXmlNode* node) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(node->GetUserData()));
}

void set_document_order(TiXmlNode* node, std::int32_t number) {
    node->SetUserData(reinterpret_cast<void*>(static_cast<std::intptr_t>(number)));
}

node_collection& node_collection::operator=(const node_collection& source) {
    if (this != &source) assign_copy(source);
    return *this;
}

void node_collection::clear() {
    entries.clear();
    attribute_flags.clear();
    members_.clear();
}

void node_collection::assign_copy(const node_collection& source) {
    entries = source.entries;
    attribute_flags = source.attribute_flags;
    members_ = source.members_;
}

bool node_collection::contains(const void* entry) const {
    return members_.count(entry) != 0;
}

void node_collection::add(void* entry, bool attribute) {
    if (!members_.insert(entry).second) return;
    entries.push_back(entry);
    attribute_flags.push_back(attribute ? 1 : 0);
}

void node_collection::add_unique(TiXmlNode* node) {
    add(node, false);
}

void node_collection::add_unique(TiXmlAttribute* attribute) {
    add(attribute, true);
}

void node_collection::add_unique_from(const node_collection& source, std::uint32_t index) {
    add(source.entries[index], source.is_attribute(index));
}

// An attribute compares equal to every entry, which is no strict weak order,
// so a general sort cannot be trusted with mixed entries. Instead the node
// entries are sorted among themselves, stably by their numbers, into the
// slots that nodes occupy; every attribute entry keeps its own slot.
void node_collection::sort_document_order() {
    if (count() < 2) return;
    std::vector<std::uint32_t> node_slots;
    std::vector<TiXmlNode*> nodes;
    for (std::uint32_t i = 0; i < count(); ++i) {
        if (is_attribute(i)) continue;
        node_slots.push_back(i);
        nodes.push_back(node_at(i));
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const TiXmlNode* a, const TiXmlNode* b) {
        return document_order_of(a) < document_order_of(b);
    });
    for (std::size_t k = 0; k < node_slots.size(); ++k) entries[node_slots[k]] = nodes[k];
}

std::string node_collection::entry_string(std::uint32_t index) const {
    if (is_attribute(index)) return value_of(attribute_at(index));
    return value_of(node_at(index));
}

std::int32_t node_collection::entry_int(std::uint32_t index) const {
    return parse_int(entry_string(index));
}

}  // namespace xpath
