// The texts of the TinyXML tree as the engine's byte strings. TinyXML keeps
// them in std::string in its STL mode and in its own string class otherwise;
// these helpers read them the same way in both, counted, so that a character
// reference to NUL stays part of the text.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include <tinyxml.h>

namespace xpath {

// Tag name of an element, text of a text node or comment, in place.
inline std::string_view value_view(const TiXmlNode* node) {
    const auto& value = node->ValueTStr();
    return std::string_view(value.c_str(), value.length());
}

// Tag name of an element, text of a text node or comment.
inline std::string value_of(const TiXmlNode* node) {
    const auto& value = node->ValueTStr();
    return std::string(value.c_str(), value.length());
}

// Names are short: a loop in place costs less than a call of memcmp.
inline bool same_bytes(const char* a, const char* b, std::size_t length) {
    constexpr std::size_t short_name = 16;
    if (length > short_name) return std::memcmp(a, b, length) == 0;
    for (std::size_t i = 0; i < length; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Name tests compare in place: they run for every node an axis passes.
inline bool value_is(const TiXmlNode* node, const std::string& text) {
    const auto& value = node->ValueTStr();
    return value.length() == text.size() && same_bytes(value.c_str(), text.data(), text.size());
}

inline bool name_is(const TiXmlAttribute* attribute, const std::string& text) {
    const auto& name = attribute->NameTStr();
    return name.length() == text.size() && same_bytes(name.c_str(), text.data(), text.size());
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
