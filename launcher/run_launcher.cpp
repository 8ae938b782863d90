// The launcher's main flow. It never stops on a failure: a card without the
// application is passed over, a failed start is not reported, and the
// message box is shown in whatever language the device remembers.
#include "launcher/run_launcher.hpp"

#include "card_search.hpp"
#include "device_files.hpp"
#include "language_hand_over.hpp"
#include "remembered_language.hpp"
#include "wait_cursor.hpp"

namespace launcher {
namespace {

constexpr DWORD pause_before_start_ms = 200;
constexpr DWORD poll_interval_ms = 100;
constexpr int message_buffer_chars = 1024;

bool has_ended(const FILETIME& exit_time) {
    return exit_time.dwLowDateTime != 0 || exit_time.dwHighDateTime != 0;
}

// Polls the application's primary thread until it has used two whole seconds
// of user time. The exit time is watched too: an application that ends
// earlier stops using time, and the loop would otherwise never end.
void await_application(HANDLE thread) {
    for (bool done = false; !done;) {
        FILETIME creation = {}, exit = {}, kernel = {}, user = {};
        SYSTEMTIME user_clock = {};
        BOOL queried = GetThreadTimes(thread, &creation, &exit, &kernel, &user);
        FileTimeToSystemTime(&user, &user_clock);
        done = !queried || user_clock.wSecond > 1 || has_ended(exit);
        Sleep(poll_interval_ms);
    }
}

// A failed start leaves the record cleared, so the first query fails and the
// wait ends after one pause.
void start_application(const wide_string& application_path) {
    PROCESS_INFORMATION process = {};
    WCHAR empty_command_line[] = TEXT("");
    CreateProcessW(application_path.c_str(), empty_command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   nullptr, &process);
    await_application(process.hThread);
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
}

void show_insert_card_message(HINSTANCE instance) {
    WCHAR message[message_buffer_chars] = {};
    LoadStringW(instance, static_cast<UINT>(insert_card_message_id), message, message_buffer_chars);
    MessageBoxW(nullptr, message, message_caption, MB_OK | MB_TOPMOST);
}

}  // namespace

int run_launcher(HINSTANCE instance) {
    card_list cards;
    find_storage_cards(cards);
    wide_string application_card_root;
    wide_string application_path;
    set_wait_cursor(true);
    for (const wide_string& card_root : cards) {
        application_path = card_root + application_below_card;
        if (file_exists(application_path)) {
            application_card_root = card_root;
            break;
        }
    }
    read_device_language_file();
    int result = 1;
    if (!application_card_root.empty()) {
        hand_over_language(application_card_root);
        Sleep(pause_before_start_ms);
        start_application(application_path);
        result = 0;
    } else {
        show_insert_card_message(instance);
    }
    set_wait_cursor(false);
    return result;
}

}  // namespace launcher
