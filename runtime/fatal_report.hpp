// The fatal report: a top-most "EXCEPTION" box through which the private
// heap tells the user that a virtual-memory call failed. The program goes on
// once the box is closed.
#pragma once

#include "windows_ce.hpp"

namespace runtime {

// Formats into a buffer of 1024 characters and shows it; shows nothing when
// the text does not fit with its terminator.
void show_fatal_report(const WCHAR* format, ...);

// "Memory allocation failed!\nLine: <site>\nError: <error>".
void report_allocation_failure(int site, DWORD error);

}  // namespace runtime
