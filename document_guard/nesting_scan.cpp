// Nesting scan: a byte-at-a-time state machine over the document's raw bytes.
// A construct is skipped up to where the parser itself ends it, and where the
// two could disagree the scan ends it earlier, so that it never sees less
// nesting than the parser recurses: a declaration, processing instruction or
// "<!" construct ends at its first '>'. An element counts from its '<', the
// moment the parser descends into it; "/>" and an end tag step back out.
#include "nesting_scan.hpp"

namespace document_guard {
namespace {

const char comment_start[] = "--";
const char cdata_start[] = "[CDATA[";

}  // namespace

void nesting_scan::feed(const char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length && !too_deep(); ++i) step(bytes[i]);
}

void nesting_scan::step(char byte) {
    switch (place_) {
        case place::content:
            if (byte == '<') place_ = place::after_open;
            break;
        case place::after_open: step_after_open(byte); break;
        case place::start_tag: step_start_tag(byte); break;
        case place::slash_in_tag:
            if (byte == '>') {
                close_element();
                place_ = place::content;
            } else {
                place_ = place::start_tag;
                step_start_tag(byte);
            }
            break;
        case place::quoted:
            if (byte == quote_) place_ = place::start_tag;
            break;
        case place::end_tag:
        case place::up_to_close:
            if (byte == '>') place_ = place::content;
            break;
        case place::after_bang: step_after_bang(byte); break;
        case place::comment: step_closing_run(byte, '-'); break;
        case place::cdata: step_closing_run(byte, ']'); break;
    }
}

void nesting_scan::step_after_open(char byte) {
    if (byte == '/') {
        close_element();
        place_ = place::end_tag;
    } else if (byte == '!') {
        matched_ = 0;
        place_ = place::after_bang;
    } else if (byte == '?') {
        place_ = place::up_to_close;
    } else {
        open_element();
        place_ = place::start_tag;
        step_start_tag(byte);
    }
}

void nesting_scan::step_start_tag(char byte) {
    if (byte == '"' || byte == '\'') {
        quote_ = byte;
        place_ = place::quoted;
    } else if (byte == '/') {
        place_ = place::slash_in_tag;
    } else if (byte == '>') {
        place_ = place::content;
    }
}

// "<!--" opens a comment and "<![CDATA[" a CDATA section; anything else
// after "<!" is a declaration.
void nesting_scan::step_after_bang(char byte) {
    if (matched_ == 0) bang_prefix_ = byte == '-' ? comment_start : byte == '[' ? cdata_start : nullptr;
    if (!bang_prefix_ || bang_prefix_[matched_] != byte) {
        place_ = place::up_to_close;
        step(byte);
        return;
    }
    if (bang_prefix_[++matched_] != 0) return;
    run_ = 0;
    place_ = bang_prefix_ == comment_start ? place::comment : place::cdata;
}

// A comment ends at "-->", a CDATA section at "]]>": two or more of the run
// byte, then '>'.
void nesting_scan::step_closing_run(char byte, char run_byte) {
    if (byte == run_byte) {
        ++run_;
        return;
    }
    if (byte == '>' && run_ >= 2) place_ = place::content;
    run_ = 0;
}

void nesting_scan::open_element() {
    ++depth_;
    if (depth_ > deepest_) deepest_ = depth_;
}

// An end tag with nothing open is the parser's error, not a level.
void nesting_scan::close_element() {
    if (depth_ > 0) --depth_;
}

}  // namespace document_guard
