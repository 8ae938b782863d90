// Fuzz target: any expression against a fixed set of small documents. The
// evaluator must end in one of its statuses, leave the tree exactly as it
// found it (links restored: the tree prints the same before and after), and
// evaluate_int must store 0 whenever it reports failure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include <tinyxml.h>

#include "evaluation/path_evaluator.hpp"

namespace {

// Elements, attributes, text, comments, mixed content and nesting.
const char* const documents[] = {
    "<Settings><Language>7</Language><Units>1</Units></Settings>",
    "<a x='1' y='two'><b>3</b><b>4.5</b><c/><!-- note --><b z='6'>x<d>y</d>z</b></a>",
    "<r>text <i>mixed</i> and <![CDATA[<raw>]]> more<e/><e a='-1'>  </e></r>",
    "<t><u><v><w><x>deep</x><x>er</x></w></v></u><u n='2'><v/></u></t>",
};

std::string printed(const TiXmlDocument& document) {
    TiXmlPrinter printer;
    document.Accept(&printer);
    return printer.CStr();
}

struct fixture {
    TiXmlDocument document;
    TiXmlElement* base = nullptr;  // the root element, or a middle child that has siblings
    std::string printed_before;
};

// Built once: the tree must look the same after every input.
std::deque<fixture>& fixtures() {
    static std::deque<fixture> all = [] {
        std::deque<fixture> made;
        for (const char* text : documents) {
            for (bool middle_child : {false, true}) {
                fixture& f = made.emplace_back();
                f.document.Parse(text);
                if (f.document.Error()) std::abort();
                f.base = f.document.RootElement();
                if (middle_child) f.base = f.base->FirstChildElement()->NextSiblingElement();
                if (!f.base) std::abort();
                f.printed_before = printed(f.document);
            }
        }
        return made;
    }();
    return all;
}

bool is_defined(xpath::eval_status status) {
    switch (status) {
        case xpath::eval_status::status_ok:
        case xpath::eval_status::status_syntax:
        case xpath::eval_status::status_overflow:
        case xpath::eval_status::status_execution:
        case xpath::eval_status::status_unbalanced: return true;
    }
    return false;
}

void check(fixture& f, const std::string& expression) {
    {
        xpath::path_evaluator evaluator(f.base, expression.c_str());
        evaluator.evaluate();
        if (!is_defined(evaluator.status())) std::abort();
    }
    std::int32_t value = -1;
    if (!xpath::evaluate_int(f.base, expression.c_str(), &value) && value != 0) std::abort();
    if (printed(f.document) != f.printed_before) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The expression is zero-terminated text: a zero byte ends it.
    std::string expression(reinterpret_cast<const char*>(data), size);
    expression.resize(expression.find('\0') == std::string::npos ? size : expression.find('\0'));
    for (fixture& f : fixtures()) check(f, expression);
    return 0;
}
