// Node collections. Document order comes from the numbers in the nodes'
// user data; attributes have no user data, so they are ordered by their
// element's number and then by their place in its attribute list.
#include "node_collection.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "string_value.hpp"

namespace xpath {
namespace {

// Whether `b` follows `a` in their element's attribute list. Lists are short
// and sorted walks meet `b` right after `a`.
bool attribute_follows(const TiXmlAttribute* a, const TiXmlAttribute* b) {
    for (const TiXmlAttribute* next = a->Next(); next; next = next->Next())
        if (next == b) return true;
    return false;
}

// One sort key per entry: the node's number above, 0 for the node itself or
// the attribute's place from 1 below.
struct keyed_entry {
    std::uint64_t key;
    node_ref ref;
};

std::uint64_t key_of(std::int32_t number, std::uint32_t attribute_place) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(number)) << 32) | attribute_place;
}

std::vector<keyed_entry> keyed_entries(const std::vector<node_ref>& entries) {
    std::vector<keyed_entry> keyed;
    keyed.reserve(entries.size());
    const TiXmlAttribute* previous = nullptr;  // the last attribute placed, and its place
    std::uint32_t previous_place = 0;
    for (const node_ref& ref : entries) {
        std::uint32_t place = 0;
        if (ref.attribute) {
            if (previous && previous->Next() == ref.attribute) {
                place = previous_place + 1;
            } else {
                for (const TiXmlAttribute* a = ref.attribute; a; a = a->Previous()) ++place;
            }
            previous = ref.attribute;
            previous_place = place;
        }
        keyed.push_back({key_of(document_order_of(ref.node), place), ref});
    }
    return keyed;
}

}  // namespace

std::int32_t document_order_of(const TiXmlNode* node) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(node->GetUserData()));
}

void set_document_order(TiXmlNode* node, std::int32_t number) {
    node->SetUserData(reinterpret_cast<void*>(static_cast<std::intptr_t>(number)));
}

int compare_document_order(const node_ref& a, const node_ref& b) {
    if (a.node != b.node) return document_order_of(a.node) < document_order_of(b.node) ? -1 : 1;
    if (a.attribute == b.attribute) return 0;
    if (!a.attribute) return -1;
    if (!b.attribute) return 1;
    return attribute_follows(a.attribute, b.attribute) ? -1 : 1;
}

bool node_collection::is_in_document_order() const {
    for (std::size_t i = 1; i < entries_.size(); ++i)
        if (compare_document_order(entries_[i - 1], entries_[i]) >= 0) return false;
    return true;
}

void node_collection::sort_document_order() {
    if (is_in_document_order()) return;
    std::vector<keyed_entry> keyed = keyed_entries(entries_);
    std::sort(keyed.begin(), keyed.end(), [](const keyed_entry& a, const keyed_entry& b) { return a.key < b.key; });
    entries_.clear();
    for (std::size_t i = 0; i < keyed.size(); ++i)
        if (i == 0 || keyed[i].key != keyed[i - 1].key) entries_.push_back(keyed[i].ref);
}

node_collection node_collection::merged(const node_collection& first, const node_collection& second) {
    node_collection out;
    out.entries_.reserve(first.entries_.size() + second.entries_.size());
    auto a = first.entries_.begin(), b = second.entries_.begin();
    while (a != first.entries_.end() && b != second.entries_.end()) {
        int order = compare_document_order(*a, *b);
        if (order <= 0) out.entries_.push_back(*a++);
        if (order >= 0) {
            if (order > 0) out.entries_.push_back(*b);
            ++b;
        }
    }
    out.entries_.insert(out.entries_.end(), a, first.entries_.end());
    out.entries_.insert(out.entries_.end(), b, second.entries_.end());
    return out;
}

std::string node_collection::entry_string(std::uint32_t index) const {
    return string_value(entries_[index]);
}

}  // namespace xpath
