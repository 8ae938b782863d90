// node_collection: the engine's node-set. TinyXML keeps attributes apart from
// nodes, so a collection holds pointers of both sorts side by side with a
// flag per entry. Entries stay in insertion order, without duplicates, until
// sort_document_order puts them in document order. The nodes and attributes
// belong to the document; the collection owns only its arrays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class TiXmlNode;
class TiXmlAttribute;

namespace xpath {

// The pre-order number (from 1) that the evaluator stores in a node's user data.
std::int32_t document_order_of(const TiXmlNode* node);
void set_document_order(TiXmlNode* node, std::int32_t number);

class node_collection {
public:
    node_collection() = default;
    node_collection(const node_collection& source) { assign_copy(source); }
    node_collection& operator=(const node_collection& source);
    // A move hands the arrays over; the source is left empty.
    node_collection(node_collection&& source) noexcept;
    node_collection& operator=(node_collection&& source) noexcept;

    std::uint32_t count() const { return static_cast<std::uint32_t>(slots_.size()); }
    bool is_attribute(std::uint32_t index) const { return slots_[index].attribute != 0; }
    TiXmlNode* node_at(std::uint32_t index) const { return static_cast<TiXmlNode*>(slots_[index].entry); }
    TiXmlAttribute* attribute_at(std::uint32_t index) const { return static_cast<TiXmlAttribute*>(slots_[index].entry); }

    void clear();
    void assign_copy(const node_collection& source);
    bool contains(const void* entry) const;
    // Adds the entry at the end unless the collection holds it already.
    void add_unique(TiXmlNode* node);
    void add_unique(TiXmlAttribute* attribute);
    // Adds the entry at the end without looking for it: only for walks that
    // cannot meet an entry twice, where add_unique would do the same.
    void append(TiXmlNode* node);
    void append(TiXmlAttribute* attribute);
    void reserve(std::size_t entry_count);
    // Adds entry `index` of another collection with its flag.
    void add_unique_from(const node_collection& source, std::uint32_t index);
    // Puts the node entries in document order; see the source for attributes.
    void sort_document_order();
    // Whether the node entries stand in document order already (attributes aside).
    bool is_in_document_order() const;

    // The entry's string value (string_value.hpp).
    std::string entry_string(std::uint32_t index) const;

    // The entries in their order, each a TiXmlNode or, where its flag is 1, a
    // TiXmlAttribute; and the flags in the same order.
    std::vector<void*> entries() const;
    std::vector<unsigned char> attribute_flags() const;

private:
    // An entry and its flag side by side: one array to grow, not two.
    struct slot {
        void* entry;
        unsigned char attribute;
    };
    std::vector<slot> slots_;

    void add(void* entry, bool attribute);
    void push(void* entry, bool attribute);
    // Membership of a large collection: made on the first membership test,
    // then kept up to date, so that walks that never test pay nothing.
    mutable std::unique_ptr<std::unordered_set<const void*>> members_;
};

}  // namespace xpath
