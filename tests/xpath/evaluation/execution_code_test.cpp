// The list of execution codes: each number keeps its name, and no other
// number has one. The table is written out by hand, so that a renumbered or
// missing code shows here rather than in a caller.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "evaluation/execution_code.hpp"

TEST(execution_code, every_code_keeps_its_number_and_name) {
    struct row { std::int32_t number; const char* name; };
    const row rows[] = {
        {-2, "not_yet_evaluated"},        {1, "no_base_node"},
        {2, "action_out_of_place"},       {3, "or_failed"},
        {4, "and_failed"},                {5, "equality_failed"},
        {6, "relational_failed"},         {7, "additive_failed"},
        {8, "multiplicative_failed"},     {9, "not_a_node_collection"},
        {10, "no_argument_value"},        {11, "function_failed"},
        {12, "no_execution"},             {13, "unknown_function"},
        {14, "ceiling_arguments"},        {15, "concat_arguments"},
        {16, "contains_arguments"},       {17, "count_arguments"},
        {18, "false_arguments"},          {19, "floor_arguments"},
        {20, "last_arguments"},           {21, "last_without_context"},
        {22, "name_arguments"},           {23, "normalize_space_arguments"},
        {24, "not_arguments"},            {25, "position_arguments"},
        {26, "position_without_context"}, {27, "starts_with_arguments"},
        {28, "string_length_arguments"},  {29, "substring_arguments"},
        {30, "sum_arguments"},            {31, "sum_not_nodes"},
        {32, "true_arguments"},           {33, "division_by_zero"},
        {34, "top_of_empty_stack"},       {35, "pop_of_empty_stack"},
        {36, "pop_of_missing_entry"},     {38, "text_arguments"},
        {39, "text_without_context"},     {40, "id_arguments"},
        {41, "local_name_arguments"},     {42, "namespace_uri_arguments"},
        {43, "string_arguments"},         {44, "substring_before_arguments"},
        {45, "substring_after_arguments"}, {46, "translate_arguments"},
        {47, "boolean_arguments"},        {48, "lang_arguments"},
        {49, "number_arguments"},         {50, "round_arguments"},
        {51, "count_not_nodes"},          {52, "name_not_nodes"},
        {53, "local_name_not_nodes"},     {54, "namespace_uri_not_nodes"},
        {55, "variable_outside_tree"},
    };
    std::set<std::int32_t> listed;
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const char* name = xpath::execution_code_name(r.number);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, r.name);
        listed.insert(r.number);
    }
    // Around the listed range, only the numbers above have a name.
    for (std::int32_t number = -10; number <= 100; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(xpath::execution_code_name(number) != nullptr, listed.count(number) == 1);
    }
    EXPECT_EQ(xpath::code_of(xpath::execution_code::division_by_zero), 33);
}
