// Node collections. Small collections test membership by a scan; a large
// one gets an index beside its arrays on its first membership test, so that
// building a collection stays linear. Order and duplicates are the same as
// with a scan of the entries.
#include "node_collection.hpp"

#include <algorithm>
#include <cstdint>

#include <tinyxml.h>

#include "string_value.hpp"

namespace xpath {
namespace {

// Up to this many entries a scan beats building and feeding an index.
constexpr std::size_t scanned_entries = 16;

}  // namespace

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

node_collection::node_collection(node_collection&& source) noexcept
    : slots_(std::move(source.slots_)),
      members_(std::move(source.members_)) {
    source.clear();
}

node_collection& node_collection::operator=(node_collection&& source) noexcept {
    if (this != &source) {
        slots_ = std::move(source.slots_);
        members_ = std::move(source.members_);
        source.clear();
    }
    return *this;
}

void node_collection::clear() {
    slots_.clear();
    members_.reset();
}

void node_collection::assign_copy(const node_collection& source) {
    slots_ = source.slots_;
    members_.reset();
}

void node_collection::reserve(std::size_t entry_count) {
    slots_.reserve(entry_count);
}

bool node_collection::contains(const void* entry) const {
    if (members_) return members_->count(entry) != 0;
    if (slots_.size() <= scanned_entries) {
        for (const slot& s : slots_)
            if (s.entry == entry) return true;
        return false;
    }
    members_.reset(new std::unordered_set<const void*>());
    for (const slot& s : slots_) members_->insert(s.entry);
    return members_->count(entry) != 0;
}

void node_collection::push(void* entry, bool attribute) {
    slots_.push_back(slot{entry, static_cast<unsigned char>(attribute ? 1 : 0)});
    if (members_) members_->insert(entry);
}

void node_collection::add(void* entry, bool attribute) {
    if (!contains(entry)) push(entry, attribute);
}

void node_collection::append(TiXmlNode* node) {
    push(node, false);
}

void node_collection::append(TiXmlAttribute* attribute) {
    push(attribute, true);
}

void node_collection::add_unique(TiXmlNode* node) {
    add(node, false);
}

void node_collection::add_unique(TiXmlAttribute* attribute) {
    add(attribute, true);
}

void node_collection::add_unique_from(const node_collection& source, std::uint32_t index) {
    add(source.slots_[index].entry, source.is_attribute(index));
}

// An attribute compares equal to every entry, which is no strict weak order,
// so a general sort cannot be trusted with mixed entries. Instead the node
// entries are sorted among themselves, stably by their numbers, into the
// slots that nodes occupy; every attribute entry keeps its own slot.
void node_collection::sort_document_order() {
    if (count() < 2 || is_in_document_order()) return;
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
    for (std::size_t k = 0; k < node_slots.size(); ++k) slots_[node_slots[k]].entry = nodes[k];
}

// Most collections come out of a walk in document order already.
bool node_collection::is_in_document_order() const {
    std::int32_t previous = 0;
    bool first = true;
    for (std::uint32_t i = 0; i < count(); ++i) {
        if (is_attribute(i)) continue;
        std::int32_t number = document_order_of(node_at(i));
        if (!first && number < previous) return false;
        previous = number;
        first = false;
    }
    return true;
}

std::vector<void*> node_collection::entries() const {
    std::vector<void*> listed;
    for (const slot& s : slots_) listed.push_back(s.entry);
    return listed;
}

std::vector<unsigned char> node_collection::attribute_flags() const {
    std::vector<unsigned char> listed;
    for (const slot& s : slots_) listed.push_back(s.attribute);
    return listed;
}

std::string node_collection::entry_string(std::uint32_t index) const {
    if (is_attribute(index)) return string_value(attribute_at(index));
    return string_value(node_at(index));
}

}  // namespace xpath
