// The fatal report box.
#include "fatal_report.hpp"

#include <cstdarg>

namespace runtime {
namespace {

constexpr int report_chars = 1024;

}  // namespace

void show_fatal_report(const WCHAR* format, ...) {
    WCHAR text[report_chars];
    va_list arguments;
    va_start(arguments, format);
    int length = _vsnwprintf(text, report_chars, format, arguments);
    va_end(arguments);
    // A text of exactly 1024 characters comes back without its terminator: it does not fit either.
    if (length < 0 || length >= report_chars) return;
    MessageBoxW(nullptr, text, TEXT("EXCEPTION"), MB_OK | MB_TOPMOST);
}

void report_allocation_failure(int site, DWORD error) {
    show_fatal_report(TEXT("Memory allocation failed!\nLine: %d\nError: %d"), site, static_cast<int>(error));
}

}  // namespace runtime
