// Guarded load: one pass of the nesting scan over the file's bytes, then a
// rewind and TinyXML's own LoadFile on the same stream, so a document that
// passes loads exactly as TinyXML loads it (encoding detection, line ends).
// A read error found by the scan stops the load before TinyXML sizes its
// buffer from the stream (a directory's stream reports a huge size).
#include "document_guard/guarded_load.hpp"

#include <cerrno>
#include <vector>

#include <tinyxml.h>

#include "nesting_scan.hpp"

namespace document_guard {
namespace {

constexpr std::size_t chunk_bytes = 4096;

load_report read_failure() {
    load_report report;
    report.outcome = load_outcome::read_failed;
    report.read_error = errno != 0 ? errno : EIO;
    return report;
}

}  // namespace

load_report load_guarded(TiXmlDocument& document, std::FILE* file, std::int32_t depth_limit) {
    errno = 0;
    if (std::fseek(file, 0, SEEK_SET) != 0) return read_failure();
    nesting_scan scan(depth_limit);
    std::vector<char> chunk(chunk_bytes);  // off the stack: the device's stacks are small
    std::size_t got;
    while (!scan.too_deep() && (got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) scan.feed(chunk.data(), got);
    if (std::ferror(file)) return read_failure();
    load_report report;
    if (scan.too_deep()) {
        report.outcome = load_outcome::too_deep;
        report.gave_up_depth = scan.deepest();
        return report;
    }
    if (std::fseek(file, 0, SEEK_SET) != 0) return read_failure();
    report.outcome = document.LoadFile(file, TIXML_ENCODING_UNKNOWN) ? load_outcome::loaded : load_outcome::not_parsed;
    return report;
}

}  // namespace document_guard
