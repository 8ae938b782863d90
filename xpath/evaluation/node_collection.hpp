// node_collection: the engine's node-set, a list of node_refs. Every
// collection that an expression yields is in document order without
// duplicates: steps, unions and filters put it so (sort_document_order,
// merged), and readers may rely on it. The nodes belong to the document;
// the collection owns only its array.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "node_ref.hpp"

namespace xpath {

// The pre-order number (from 1) that the evaluator stores in a node's user data.
std::int32_t document_order_of(const TiXmlNode* node);
void set_document_order(TiXmlNode* node, std::int32_t number);

// Document order of two numbered nodes: negative, zero or positive as `a`
// comes before, is, or comes after `b`. An element comes before its
// attributes, and they, in their stored order, before its children.
int compare_document_order(const node_ref& a, const node_ref& b);

// The entries of a collection, or one node, as steps read their input.
struct node_span {
    const node_ref* first = nullptr;
    const node_ref* past_last = nullptr;

    const node_ref* begin() const { return first; }
    const node_ref* end() const { return past_last; }
    std::size_t size() const { return static_cast<std::size_t>(past_last - first); }
};

class node_collection {
public:
    node_collection() = default;
    explicit node_collection(std::vector<node_ref> entries) : entries_(std::move(entries)) {}

    std::uint32_t count() const { return static_cast<std::uint32_t>(entries_.size()); }
    const node_ref& at(std::uint32_t index) const { return entries_[index]; }
    bool is_attribute(std::uint32_t index) const { return entries_[index].attribute != nullptr; }
    // The node of the entry; for an attribute, its element.
    TiXmlNode* node_at(std::uint32_t index) const { return entries_[index].node; }
    TiXmlAttribute* attribute_at(std::uint32_t index) const { return entries_[index].attribute; }
    std::vector<node_ref>::const_iterator begin() const { return entries_.begin(); }
    std::vector<node_ref>::const_iterator end() const { return entries_.end(); }
    node_span span() const { return {entries_.data(), entries_.data() + entries_.size()}; }

    void clear() { entries_.clear(); }
    void append(const node_ref& ref) { entries_.push_back(ref); }
    void append(TiXmlNode* node) { entries_.push_back(node_of(node)); }
    // Appends `refs` from the last to the first: a reverse axis's nodes in document order.
    void append_reversed(const std::vector<node_ref>& refs) { entries_.insert(entries_.end(), refs.rbegin(), refs.rend()); }

    // Puts the entries in document order and drops duplicates; a collection
    // in that order already is only read.
    void sort_document_order();
    // Whether every entry comes strictly after the one before it.
    bool is_in_document_order() const;
    // The entries of two collections in document order, each once: both
    // must be in document order already.
    static node_collection merged(const node_collection& first, const node_collection& second);

    // The entry's string value (string_value.hpp).
    std::string entry_string(std::uint32_t index) const;

private:
    std::vector<node_ref> entries_;
};

}  // namespace xpath
