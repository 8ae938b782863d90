// The evaluation tests' sample documents.
#include "sample_document.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "evaluation/node_collection.hpp"

namespace test_support {
namespace {

void number_in_pre_order(TiXmlNode* node, std::int32_t& next) {
    xpath::set_document_order(node, next++);
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) number_in_pre_order(child, next);
}

TiXmlElement* find_element(TiXmlNode* node, const std::string& tag) {
    TiXmlElement* element = node->ToElement();
    if (element && element->Value() == tag) return element;
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
        if (TiXmlElement* found = find_element(child, tag)) return found;
    return nullptr;
}

}  // namespace

sample_document::sample_document(const char* xml) {
    document.Parse(xml);
    if (document.Error()) throw std::invalid_argument(std::string("sample does not parse: ") + document.ErrorDesc());
    std::int32_t next = 1;
    number_in_pre_order(&document, next);
}

TiXmlElement* sample_document::element(const char* tag) {
    TiXmlElement* found = find_element(&document, tag);
    if (!found) throw std::invalid_argument(std::string("no element ") + tag);
    return found;
}

TiXmlNode* sample_document::first_child(const char* tag) {
    TiXmlNode* child = element(tag)->FirstChild();
    if (!child) throw std::invalid_argument(std::string("element without children: ") + tag);
    return child;
}

TiXmlAttribute* sample_document::attribute(const char* tag, const char* name) {
    for (TiXmlAttribute* a = element(tag)->FirstAttribute(); a; a = a->Next())
        if (a->NameTStr() == name) return a;
    throw std::invalid_argument(std::string("no attribute ") + name + " on " + tag);
}

}  // namespace test_support
