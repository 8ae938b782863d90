// Fuzz target: any bytes as the card's settings file, through the language
// hand-over's read path: the document guard, TinyXML and evaluate_int. The
// sanitizers are the judges: no read outside a buffer, no overflow, no crash.
// A document that loads must also hand over what evaluate_int gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"
#include "language_hand_over.hpp"
#include "xpath/xpath.hpp"

namespace {

// What the read path should give, computed apart from it.
int expected_code(std::FILE* settings) {
    TiXmlDocument document;
    if (document_guard::load_guarded(document, settings).outcome != document_guard::load_outcome::loaded) return 1;
    std::int32_t code = 0;
    xpath::evaluate_int(document.RootElement(), "/Settings/Language/text()", &code);
    return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;  // fmemopen wants at least one byte; the empty file has its test
    std::FILE* settings = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!settings) return 0;
    int code = launcher::read_settings_stream(settings);
    if (code != expected_code(settings)) std::abort();
    std::fclose(settings);
    return 0;
}
