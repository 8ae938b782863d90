// The recording front end for the front end's tests.
#include "recording_front_end.hpp"

#include "front_end/lexer.hpp"
#include "front_end/xpath_errors.hpp"

namespace test_support {

recording_front_end::recording_front_end(const char* expression) : expression_front_end(expression) {}

std::int32_t recording_front_end::record_action(std::int32_t rule, std::int32_t sub, std::int32_t variant,
                                                const char* literal) {
    std::string action = "(" + std::to_string(rule) + ", " + std::to_string(sub) + ", " + std::to_string(variant);
    if (*literal) action += ", \"" + std::string(literal) + "\"";
    actions.push_back(action + ")");
    return static_cast<std::int32_t>(actions.size());
}

std::int32_t recording_front_end::action_count() {
    return static_cast<std::int32_t>(actions.size());
}

void recording_front_end::scan() {
    xpath::scan_lexemes(reader, *walker);
}

void recording_front_end::decode() {
    scan();
    walker->decode_expression();
}

std::vector<std::string> lexemes_of(const xpath::lexeme_chain& chain) {
    std::vector<std::string> items;
    for (const xpath::lexeme* l = chain.first(); l && l != &chain.sentinel; l = l->next)
        items.push_back(std::to_string(xpath::code_of(l->kind)) + " " + l->text);
    return items;
}

std::vector<std::string> decode_actions(const char* expression, std::uint32_t* entries) {
    recording_front_end front_end(expression);
    try {
        front_end.decode();
    } catch (const xpath::syntax_error& error) {
        return {"syntax_error " + std::string(error.text())};
    } catch (const xpath::syntax_overflow&) {
        return {"syntax_overflow"};
    }
    if (entries) *entries = front_end.walker->rule_entry_count;
    return front_end.actions;
}

}  // namespace test_support
