// The storage-card stand-in on Windows: the cards named in
// TARVOLEN_STORAGE_CARDS, in that order, each reported like its folder on the
// current drive; names without such a folder are passed over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows_ce.hpp"

namespace {

using names = std::vector<std::wstring>;

std::string printable(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());
}

// Folders \<prefix>A and \<prefix>B and a file \<prefix>File on the current
// drive, with a prefix of this process's own; the variable is unset again
// and everything removed at the end.
class flash_cards : public ::testing::Test {
protected:
    const std::wstring prefix = L"flash-card-test-" + std::to_wstring(GetCurrentProcessId()) + L"-";

    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(root(L"A").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(root(L"B").c_str(), nullptr));
        HANDLE file = CreateFileW(root(L"File").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    void TearDown() override {
        SetEnvironmentVariableW(L"TARVOLEN_STORAGE_CARDS", nullptr);
        RemoveDirectoryW(root(L"A").c_str());
        RemoveDirectoryW(root(L"B").c_str());
        DeleteFileW(root(L"File").c_str());
    }

    std::wstring root(const std::wstring& card) const { return L"\\" + prefix + card; }

    // The variable's value with each "@" standing for the prefix.
    void name_cards(const wchar_t* value) const {
        if (!value) {
            SetEnvironmentVariableW(L"TARVOLEN_STORAGE_CARDS", nullptr);
            return;
        }
        std::wstring expanded;
        for (const wchar_t* c = value; *c; ++c) expanded += *c == L'@' ? prefix : std::wstring(1, *c);
        SetEnvironmentVariableW(L"TARVOLEN_STORAGE_CARDS", expanded.c_str());
    }

    // The whole enumeration, checking each record and the end on the way.
    names enumerate() const {
        names found;
        WIN32_FIND_DATAW card = {};
        HANDLE search = FindFirstFlashCard(&card);
        if (search == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
            return found;
        }
        do {
            EXPECT_EQ(card.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY),
                      static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY));
            std::wstring name = card.cFileName;
            found.push_back(name.compare(0, prefix.size(), prefix) == 0 ? name.substr(prefix.size()) : name);
        } while (FindNextFlashCard(search, &card));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
        EXPECT_TRUE(FindClose(search));  // the caller closes the search as on the device
        return found;
    }
};

}  // namespace

TEST_F(flash_cards, cards_in_the_variables_order) {
    struct row {
        const wchar_t* variable;  // nullptr: unset; "@" stands for the test's prefix
        names cards;
    };
    const row rows[] = {
        {nullptr, {}},
        {L"", {}},
        {L";", {}},
        {L"@A", {L"A"}},
        {L"@A;@B", {L"A", L"B"}},
        {L"@B;@A", {L"B", L"A"}},                 // the variable's order, not the drive's
        {L"@Missing;@A;;@File;@B;", {L"A", L"B"}},  // no folder, empty, a file: no card
        {L"@Missing", {}},
        {L"@*", {}},                              // a wildcard would match the folders
        {L"@A\\..\\@B", {}},                      // so would a path
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.variable ? printable(r.variable) : "(unset)");
        name_cards(r.variable);
        EXPECT_EQ(enumerate(), r.cards);
    }
}

TEST_F(flash_cards, misuse_is_refused_with_the_windows_errors) {
    name_cards(L"@A;@B");
    EXPECT_EQ(FindFirstFlashCard(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    WIN32_FIND_DATAW card = {};
    EXPECT_FALSE(FindNextFlashCard(INVALID_HANDLE_VALUE, &card));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    HANDLE search = FindFirstFlashCard(&card);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindNextFlashCard(search, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(FindNextFlashCard(search, &card));  // the refused call took nothing away
    EXPECT_EQ(std::wstring(card.cFileName), prefix + L"B");
    EXPECT_FALSE(FindNextFlashCard(search, &card));
    EXPECT_FALSE(FindNextFlashCard(search, &card));  // a finished search stays finished
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
}
