// Simulated user interface: the cursor is state that tests can read, string
// resources come from the table the program registers, and a message box is
// one line "<caption>: <text>" on standard output that returns OK at once.
#include <algorithm>
#include <map>
#include <mutex>

#include "call_log.hpp"
#include "device_state.hpp"
#include "simulator/device_simulator.hpp"
#include "wide_text.hpp"

using namespace device_simulator;

namespace {

constexpr WORD first_system_cursor = 32512;  // IDC_ARROW
constexpr WORD last_system_cursor = 32651;   // IDC_HELP

struct user_interface_state {
    std::mutex mutex;
    HCURSOR current = nullptr;
    int show_count = 0;
    std::FILE* message_output = stdout;
    std::vector<std::string> boxes;
    std::map<UINT, std::u16string> strings;
};

user_interface_state& ui() {
    static user_interface_state instance;
    return instance;
}

// System cursors are identified by their resource number; the handle is that
// number in a range no real pointer uses, so it is stable in traces.
HCURSOR system_cursor(WORD id) {
    return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(0x70000 + id));
}

bool is_resource_number(LPCWSTR name) {
    return reinterpret_cast<std::uintptr_t>(name) <= 0xFFFF;
}

HCURSOR load_cursor(HINSTANCE instance, LPCWSTR name) {
    WORD id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    if (instance || !is_resource_number(name) || id < first_system_cursor || id > last_system_cursor) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);  // the program has no cursors of its own
        return nullptr;
    }
    return system_cursor(id);
}

int load_string(HINSTANCE instance, UINT id, LPWSTR buffer, int buffer_chars) {
    if (instance && instance != program_instance()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!buffer || buffer_chars < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard<std::mutex> lock(ui().mutex);
    auto found = ui().strings.find(id);
    if (found == ui().strings.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const std::u16string& text = found->second;
    if (buffer_chars == 0) {
        // As on Windows: a zero-sized buffer receives a pointer to the resource itself.
        *reinterpret_cast<const WCHAR**>(buffer) = text.c_str();
        return static_cast<int>(text.size());
    }
    std::size_t copied = std::min(text.size(), static_cast<std::size_t>(buffer_chars - 1));
    std::copy(text.begin(), text.begin() + copied, buffer);
    buffer[copied] = 0;
    return static_cast<int>(copied);
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    simulated_call call(simulated_function::LoadCursorW);
    HCURSOR cursor = call.fails() ? nullptr : load_cursor(instance, name);
    std::string name_text = is_resource_number(name) ? std::to_string(reinterpret_cast<std::uintptr_t>(name))
                                                     : printable_utf8(name);
    call.trace([&] { return pointer_text(instance) + " " + name_text + " -> " + pointer_text(cursor); });
    return cursor;
}

HCURSOR SetCursor(HCURSOR cursor) {
    simulated_call call(simulated_function::SetCursor);
    HCURSOR previous = nullptr;
    if (!call.fails()) {
        std::lock_guard<std::mutex> lock(ui().mutex);
        previous = ui().current;
        ui().current = cursor;
    }
    call.trace([&] { return pointer_text(cursor); });
    return previous;
}

int ShowCursor(BOOL show) {
    simulated_call call(simulated_function::ShowCursor);
    int count;
    {
        std::lock_guard<std::mutex> lock(ui().mutex);
        count = ui().show_count += show ? 1 : -1;
    }
    call.trace([&] { return std::to_string(show) + " -> " + std::to_string(count); });
    return count;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int buffer_chars) {
    simulated_call call(simulated_function::LoadStringW);
    int length = call.fails() ? 0 : load_string(instance, id, buffer, buffer_chars);
    call.trace([&] {
        return pointer_text(instance) + " " + std::to_string(id) + " " + std::to_string(buffer_chars) + " -> " +
               std::to_string(length);
    });
    return length;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    simulated_call call(simulated_function::MessageBoxW);
    int result = 0;
    std::string line = printable_utf8(caption) + ": " + printable_utf8(text);
    if (!call.fails()) {
        std::lock_guard<std::mutex> lock(ui().mutex);
        if (ui().message_output) {
            std::fprintf(ui().message_output, "%s\n", line.c_str());
            std::fflush(ui().message_output);
        }
        ui().boxes.push_back(line);
        result = IDOK;
    }
    char flags[16];
    std::snprintf(flags, sizeof flags, " 0x%x", type);
    call.trace([&] { return pointer_text(owner) + " " + line + flags + " -> " + std::to_string(result); });
    return result;
}

namespace device_simulator {

void reset_user_interface() {
    std::lock_guard<std::mutex> lock(ui().mutex);
    ui().current = nullptr;
    ui().show_count = 0;
    ui().message_output = stdout;
    ui().boxes.clear();
}

void set_message_box_output(std::FILE* output) {
    std::lock_guard<std::mutex> lock(ui().mutex);
    ui().message_output = output;
}

std::vector<std::string> shown_message_boxes() {
    std::lock_guard<std::mutex> lock(ui().mutex);
    return ui().boxes;
}

cursor_state cursor() {
    std::lock_guard<std::mutex> lock(ui().mutex);
    return cursor_state{ui().current, ui().show_count};
}

HCURSOR system_wait_cursor() {
    return system_cursor(32514);
}

void register_string_table(const string_resource* rows, std::size_t count) {
    std::lock_guard<std::mutex> lock(ui().mutex);
    for (std::size_t i = 0; i < count; ++i) ui().strings[rows[i].id] = rows[i].text;
}

}  // namespace device_simulator
