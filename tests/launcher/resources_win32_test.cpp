// The program's resources on Windows: the icon, the first icon group of the
// module, with the three sizes the shell picks from; the string table, one
// block tagged German (1031).
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource_ids.h"
#include "support/program_instance.hpp"

namespace {

// The head of an icon group resource: reserved, type (1: icon), image count.
#pragma pack(push, 2)
struct icon_group_header {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

BOOL CALLBACK collect_language(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

TEST(resources, the_string_table_is_one_block_tagged_german) {
    // Ids 0 to 15 share the first block of the table.
    std::vector<WORD> languages;
    EnumResourceLanguagesW(test_support::program_instance(), RT_STRING, MAKEINTRESOURCEW(1), collect_language,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{1031});
}

TEST(resources, the_program_icon_holds_three_sizes) {
    HRSRC found = FindResourceW(test_support::program_instance(), MAKEINTRESOURCEW(IDI_PROGRAM), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = LoadResource(test_support::program_instance(), found);
    ASSERT_NE(loaded, nullptr);
    ASSERT_GE(SizeofResource(test_support::program_instance(), found), sizeof(icon_group_header));
    const auto* group = static_cast<const icon_group_header*>(LockResource(loaded));
    EXPECT_EQ(group->type, 1);
    EXPECT_EQ(group->count, 3);
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        HANDLE icon = LoadImageW(test_support::program_instance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size,
                                 size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
}
