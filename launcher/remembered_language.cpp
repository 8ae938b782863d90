// Reading the device language file. Its format is the decimal text of the
// language code, one byte per character, with no line end; the hand-over
// writes it. Only the first word counts, and at most 31 characters of it.
#include "remembered_language.hpp"

#include <cstddef>
#include <cstdio>

#include "decimal_text.hpp"
#include "device_files.hpp"

namespace launcher {

int insert_card_message_id = 1;

int insert_card_message_for(int language_code) {
    if (language_code >= 2 && language_code <= 12) return language_code;
    switch (language_code) {
        case 23: return 13;  // Turkish
        case 24: return 14;  // Polish
        case 26: return 6;   // a second code for Dutch
        case 32: return 15;  // Hungarian
        default: return 1;   // English for every code the table does not know
    }
}

namespace {

bool is_space(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The first word after leading white space, at most `width` characters of it,
// one byte per character. Read byte by byte rather than with the wide scanf,
// which would bring the C library's whole scanf family into the program.
void read_first_word(std::FILE* file, WCHAR* word, std::size_t width) {
    int c = std::getc(file);
    while (c != EOF && is_space(c)) c = std::getc(file);
    std::size_t stored = 0;
    for (; c != EOF && !is_space(c) && stored < width; c = std::getc(file))
        word[stored++] = static_cast<WCHAR>(static_cast<unsigned char>(c));
    word[stored] = 0;
}

}  // namespace

void read_device_language_file() {
    int language_code = 1;
    // "r+t" on purpose: a file the launcher could not rewrite later counts as absent.
    std::FILE* file = _wfopen(device_language_file, TEXT("r+t"));
    if (file) {
        WCHAR word[32] = {};
        read_first_word(file, word, sizeof word / sizeof word[0] - 1);  // the rest is never read
        fclose(file);
        language_code = parse_decimal(word);
    }
    insert_card_message_id = insert_card_message_for(language_code);
}

}  // namespace launcher
