// The document generator. Every text comes from a fixed pool that keeps to
// the white-space limits; the pools carry numbers (integers, fractions,
// forms that are no number), words, and a few character references.
#include "document_generator.hpp"

#include <set>

namespace conformance {
namespace {

const char* const plain_names[] = {"a", "b", "c", "a", "b", "d"};
const char* const utf8_names[] = {"a", "b", "文書", "Größe", "é", "c"};
const char* const operator_names[] = {"div", "mod", "and", "or", "a-b", "a", "b"};
const char* const attribute_names[] = {"id", "x", "n", "id", "n"};

const char* const plain_texts[] = {
    "7",  "12", "2.5",  "-3",      "0",         "x",   "abc",      "a b", "NaN", "100", "+5", ".5",
    "5.", "-0", "true", "a&amp;b", "&lt;c&gt;", "3 4", "Infinity", "AbC", "1.0", "54",  "56", "x y z",
};
const char* const utf8_texts[] = {
    "é", "Größe", "文書", "&#233;t&#233;", "x&#x6587;y", "naïve café", "7", "a b", "ÄÖÜ", "日本語テキスト",
};
const char* const comment_texts[] = {"c", "note", "7", "a b", "x-y"};
const char* const attribute_values[] = {
    "1", "2", "3", "x", "a b", "2.5", "-1", "", "&quot;q&quot;", "10", "54", "56", "1", "2",
};
const char* const languages[] = {"en", "en-US", "EN-gb", "de", "fr-CA", "english"};

struct writer {
    random_source& random;
    const document_shape& shape;
    std::string out;
};

const char* element_name(writer& w) { return random_element_name(w.random, w.shape.names); }

const char* text(writer& w) {
    if (w.shape.names == name_pool::utf8 && w.random.percent(50)) return w.random.pick(utf8_texts);
    return w.random.pick(plain_texts);
}

// Attribute names stay distinct within an element.
void write_attributes(writer& w) {
    std::int32_t count = w.random.between(0, 2);
    std::set<std::string> used;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name = random_attribute_name(w.random);
        if (!used.insert(name).second) continue;
        const char* value = w.random.pick(attribute_values);
        w.out += " " + name + "=\"" + value + "\"";
    }
    if (w.shape.languages && w.random.percent(40)) {
        const char* language = w.random.pick(languages);
        w.out += std::string(" xml:lang=\"") + language + "\"";
    }
}

void write_element(writer& w, const char* name, std::int32_t depth);

// Children of one element: elements, texts and comments, no two texts in a row.
void write_children(writer& w, std::int32_t depth) {
    std::int32_t count = w.random.between(depth == 0 ? 2 : 0, w.shape.max_children);
    bool last_was_text = false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t choice = w.random.below(10);
        if (choice < 2 && !last_was_text) {
            w.out += text(w);
            last_was_text = true;
            continue;
        }
        last_was_text = false;
        if (choice == 2) {
            const char* comment = w.random.pick(comment_texts);
            w.out += std::string("<!--") + comment + "-->";
        } else if (depth < w.shape.max_depth) {
            write_element(w, element_name(w), depth + 1);
        }
    }
}

void write_element(writer& w, const char* name, std::int32_t depth) {
    w.out += std::string("<") + name;
    write_attributes(w);
    if (depth < w.shape.max_depth && w.random.percent(75)) {
        w.out += ">";
        write_children(w, depth);
        w.out += std::string("</") + name + ">";
    } else {
        w.out += "/>";
    }
}

}  // namespace

const char* random_element_name(random_source& random, name_pool pool) {
    switch (pool) {
        case name_pool::utf8: return random.pick(utf8_names);
        case name_pool::operator_words: return random.pick(operator_names);
        case name_pool::plain: break;
    }
    return random.pick(plain_names);
}

const char* random_attribute_name(random_source& random) { return random.pick(attribute_names); }

std::string random_document(random_source& random, const document_shape& shape) {
    writer w{random, shape, ""};
    w.out += "<r";
    write_attributes(w);
    w.out += ">";
    write_children(w, 0);
    w.out += "</r>";
    return w.out;
}

}  // namespace conformance
