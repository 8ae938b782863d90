// Nesting scan: measures how deep the elements of a document nest, from its
// raw bytes and before any parser sees them, so that a document too deep for
// a recursive parser on a small stack is refused instead of parsed. It parses
// nothing: it only tells tags from comments, CDATA, processing instructions,
// declarations and quoted attribute values. guarded_load runs it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace document_guard {

class nesting_scan {
public:
    explicit nesting_scan(std::int32_t depth_limit) : depth_limit_(depth_limit) {}

    // Feeds the next bytes of the document; the bytes may be cut anywhere.
    // Once the limit is passed, further bytes are ignored.
    void feed(const char* bytes, std::size_t length);

    bool too_deep() const { return depth_ > depth_limit_; }
    // The depth where the scan gave up (the limit + 1) or, if it did not,
    // the deepest nesting seen.
    std::int32_t deepest() const { return deepest_; }

private:
    // Where the scan stands between two bytes.
    enum class place {
        content,        // text between tags
        after_open,     // just after '<'
        start_tag,      // inside a start tag, outside quotes
        slash_in_tag,   // a '/' inside a start tag: "/>" ends an empty element
        quoted,         // inside a quoted attribute value
        end_tag,        // inside "</...>"
        after_bang,     // after "<!": a comment, CDATA or a declaration
        comment,        // inside "<!--...-->"
        cdata,          // inside "<![CDATA[...]]>"
        up_to_close,    // a declaration or processing instruction, up to its '>'
    };

    void step(char byte);
    void step_after_open(char byte);
    void step_start_tag(char byte);
    void step_after_bang(char byte);
    void step_closing_run(char byte, char run_byte);
    void open_element();
    void close_element();

    std::int32_t depth_limit_;
    std::int32_t depth_ = 0;
    std::int32_t deepest_ = 0;
    place place_ = place::content;
    char quote_ = 0;
    const char* bang_prefix_ = nullptr;  // after "<!": "--" or "[CDATA[", whichever has begun
    std::size_t matched_ = 0;            // and how many of its bytes have been seen
    std::size_t run_ = 0;      // in a comment or CDATA: the run of '-' or ']' just seen
};

}  // namespace document_guard
