// The process start on desktop Windows: the device's call shape, with no
// STARTUPINFO, must start a program there too (desktop Windows and wine read
// the record unconditionally, so the platform layer supplies one).
#include <gtest/gtest.h>

#include <string>

#include "windows_ce.hpp"

TEST(process_start, without_startup_info_the_program_runs_to_its_exit_code) {
    WCHAR system_folder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system_folder, MAX_PATH), 0u);
    std::wstring shell = std::wstring(system_folder) + L"\\cmd.exe";
    struct row {
        const wchar_t* command_line;
        DWORD exit_code;
    };
    const row rows[] = {
        {L"cmd.exe /c exit 0", 0},
        {L"cmd.exe /c exit 7", 7},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.command_line, r.command_line + wcslen(r.command_line)));
        std::wstring command_line = r.command_line;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(shell.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   nullptr, &process))
            << GetLastError();
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
        DWORD exit_code = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &exit_code));
        EXPECT_EQ(exit_code, r.exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

TEST(process_start, a_missing_program_fails_with_the_record_cleared) {
    WCHAR command_line[] = L"";
    PROCESS_INFORMATION process = {};
    EXPECT_FALSE(CreateProcessW(L"\\no such folder\\TVL.EXE", command_line, nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, nullptr, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(process.hThread, nullptr);  // the launcher's wait relies on this
    EXPECT_EQ(process.hProcess, nullptr);
}
