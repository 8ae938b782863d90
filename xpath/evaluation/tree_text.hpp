// The texts of the TinyXML tree as the engine's byte strings. TinyXML keeps
// them in std::string in its STL mode and in its own string class otherwise;
// these helpers read them the same way in both, counted, so that a character
// reference to NUL stays part of the text.
#pragma once

#include <cstring>
#include <string>

#include <tinyxml.h>

namespace xpath {

// Tag name of an element, text of a text node or comment.
inline std::string value_of(const TiXmlNode* node) {
    const auto& value = node->ValueTStr();
    return std::string(value.c_str(), value.length());
}

// Name tests compare in place: they run for every node an axis passes.
inline bool value_is(const TiXmlNode* node, const std::string& text) {
    const auto& value = node->ValueTStr();
    return value.length() == text.size() && std::memcmp(value.c_str(), text.data(), text.size()) == 0;
}

inline bool name_is(const TiXmlAttribute* attribute, const std::string& text) {
    const auto& name = attribute->NameTStr();
    return name.length() == text.size() && std::memcmp(name.c_str(), text.data(), text.size()) == 0;
}

inline std::string name_of(const TiXmlAttribute* attribute) {
    const auto& name = attribute->NameTStr();
    return std::string(name.c_str(), name.length());
}

// Without the STL mode TinyXML hands out an attribute's value only as a
// zero-terminated text, so there it ends at a NUL character reference.
inline std::string value_of(const TiXmlAttribute* attribute) {
#ifdef TIXML_USE_STL
    return attribute->ValueStr();
#else
    return attribute->Value();
#endif
}

}  // namespace xpath
