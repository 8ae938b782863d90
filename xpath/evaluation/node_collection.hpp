// node_collection: the engine's node-set. TinyXML keeps attributes apart from
// nodes, so a collection holds pointers of both sorts side by side with a
// flag per entry. Entries stay in insertion order, without duplicates, until
// sort_document_order puts them in document order. The nodes and attributes
// belong to the document; the collection owns only its arrays.
#pragma once

#include <cstdint>
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

    std::uint32_t count() const { return static_cast<std::uint32_t>(entries.size()); }
    bool is_attribute(std::uint32_t index) const { return attribute_flags[index] != 0; }
    TiXmlNode* node_at(std::uint32_t index) const { return static_cast<TiXmlNode*>(entries[index]); }
    TiXmlAttribute* attribute_at(std::uint32_t index) const { return static_cast<TiXmlAttribute*>(entries[index]); }

    void clear();
    void assign_copy(const node_collection& source);
    bool contains(const void* entry) const;
    // Adds the entry at the end unless the collection holds it already.
    void add_unique(TiXmlNode* node);
    void add_unique(TiXmlAttribute* attribute);
    // Adds entry `index` of another collection with its flag.
    void add_unique_from(const node_collection& source, std::uint32_t index);
    // Puts the node entries in document order; see the source for attributes.
    void sort_document_order();

    // An attribute's value, or the node's value: an element's tag name, a text's text.
    std::string entry_string(std::uint32_t index) const;
    // The atoi rule over entry_string.
    std::int32_t entry_int(std::uint32_t index) const;

    // Each entry points to a TiXmlNode or, where the flag is 1, a TiXmlAttribute.
    std::vector<void*> entries;
    std::vector<unsigned char> attribute_flags;

private:
    void add(void* entry, bool attribute);
    std::unordered_set<const void*> members_;  // makes contains and add_unique constant-time
};

}  // namespace xpath
