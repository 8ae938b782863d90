// The language hand-over: reads the language code from the card's settings
// with the XPath evaluator and writes it as decimal text to the device
// language file, where a later run without a card finds it. Nothing here is
// reported: a settings file that cannot be loaded (or nests too deeply for the
// parser, see document_guard) hands over 1, a failed evaluation 0, and a
// device file that cannot be written is left as it was.
#include "language_hand_over.hpp"

#include <cstdio>
#include <memory>

#include <tinyxml.h>

#include "decimal_text.hpp"
#include "device_files.hpp"
#include "document_guard/guarded_load.hpp"
#include "xpath/xpath.hpp"

namespace launcher {
namespace {

constexpr std::size_t file_name_bytes = 260;
constexpr int not_loaded = 1;
const char* const language_expression = "/Settings/Language/text()";

// The 8-bit file name the settings are opened by. A path that does not convert, or does not
// fit with its terminator, is never cut into another path: false.
bool to_file_name(const wide_string& path, char* file_name) {
    std::size_t length = wcstombs(file_name, path.c_str(), file_name_bytes);
    return length != static_cast<std::size_t>(-1) && length < file_name_bytes;
}

// The language code in the card's settings file; 1 when it cannot be opened.
int read_settings_file(const wide_string& settings_path) {
    int language_code = not_loaded;
    std::unique_ptr<char[]> file_name(new char[file_name_bytes]);
    // By 8-bit name, as TinyXML would open it; the guard needs the stream
    // before TinyXML parses it.
    std::FILE* settings = to_file_name(settings_path, file_name.get()) ? device_fopen(file_name.get(), "rb") : nullptr;
    if (settings) {
        language_code = read_settings_stream(settings);
        std::fclose(settings);
    }
    return language_code;
}

void write_device_language(int language_code) {
    WCHAR text[decimal_text_chars];
    format_decimal(language_code, text);
    // A read-only, hidden or system mark must not block the rewrite.
    SetFileAttributesW(device_language_file, FILE_ATTRIBUTE_NORMAL);
    std::FILE* file = _wfopen(device_language_file, TEXT("w+t"));
    if (!file) return;
    fputws(text, file);
    fclose(file);
}

}  // namespace

int read_settings_stream(std::FILE* settings) {
    int language_code = not_loaded;
    TiXmlDocument document;
    if (document_guard::load_guarded(document, settings).outcome == document_guard::load_outcome::loaded)
        xpath::evaluate_int(document.RootElement(), language_expression, &language_code);
    return language_code;
}

int hand_over_language(wide_string card_root) {
    int language_code = read_settings_file(card_root + settings_below_card);
    write_device_language(language_code);
    return language_code;
}

}  // namespace launcher
