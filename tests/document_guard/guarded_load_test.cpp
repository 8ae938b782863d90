// Guarded load over real files: what a document that passes the guard loads
// to, and why one that does not pass is refused.
//
// Stack per level of nesting, measured over the launcher's read path (guarded
// load, evaluation, printing and destroying the tree) by painting a thread's
// stack: 206 bytes per level on x86-64 with -O2, 377 bytes with -O0 under
// AddressSanitizer, on top of about 10 KiB (20 KiB) for a shallow document.
// At the limit of 64 levels that stays under 24 KiB (45 KiB) of the device's
// 64 KiB thread stacks; settings_depth_test runs it on such a thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"

namespace {

using document_guard::load_outcome;

class guarded_load : public ::testing::Test {
protected:
    std::string path = (std::filesystem::temp_directory_path() /
                        ("guarded_load_" + std::to_string(std::random_device()()) + ".xml")).string();

    ~guarded_load() override { std::remove(path.c_str()); }

    document_guard::load_report load(const std::string& bytes, TiXmlDocument& document) {
        std::ofstream(path, std::ios::binary) << bytes;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        document_guard::load_report report = document_guard::load_guarded(document, file);
        std::fclose(file);
        return report;
    }
};

// Elements nested `depth` deep.
std::string nested(std::int32_t depth) {
    std::string document;
    for (std::int32_t i = 0; i < depth; ++i) document += "<a>";
    for (std::int32_t i = 0; i < depth; ++i) document += "</a>";
    return document;
}

}  // namespace

TEST_F(guarded_load, loads_what_tinyxml_loads_and_refuses_the_rest) {
    struct row {
        std::string bytes;
        load_outcome outcome;
        std::int32_t gave_up_depth;
        const char* printed;  // the loaded tree, as TinyXML prints it
    };
    const std::int32_t limit = document_guard::document_depth_limit;
    const row rows[] = {
        // Line ends reach TinyXML as its own loading normalises them.
        {"<a t='x\r\ny\rz'>\r\n</a>", load_outcome::loaded, 0, "<a t=\"x&#x0A;y&#x0A;z\" />\n"},
        {"<?xml version='1.0'?>\n<a t='\xc3\xa9'/>", load_outcome::loaded, 0,
         "<?xml version=\"1.0\" ?>\n<a t=\"\xc3\xa9\" />\n"},
        {nested(limit), load_outcome::loaded, 0, nullptr},
        {nested(limit + 1), load_outcome::too_deep, limit + 1, nullptr},
        {"<a>", load_outcome::not_parsed, 0, nullptr},
        {"", load_outcome::not_parsed, 0, nullptr},
        // Ends inside a UTF-8 sequence: refused without reading past the buffer.
        {"<?xml version='1.0'?><a>x\xdd", load_outcome::not_parsed, 0, nullptr},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.bytes.substr(0, 40));
        TiXmlDocument document;
        document_guard::load_report report = load(r.bytes, document);
        EXPECT_EQ(report.outcome, r.outcome);
        EXPECT_EQ(report.gave_up_depth, r.gave_up_depth);
        if (r.printed) {
            TiXmlPrinter printer;
            document.Accept(&printer);
            EXPECT_EQ(std::string(printer.CStr()), r.printed);
        }
    }
}
