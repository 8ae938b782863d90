// Tracing and injected failures, shared by every simulated call. A call first
// asks should_fail (which sets the last error when it says yes), then reports
// itself with trace_call once it knows its result.
#pragma once

#include <string>

#include "windows_ce_api.hpp"

namespace device_simulator {

bool should_fail(const char* function);
void trace_call(const std::string& line);
// Whether a trace line would go anywhere: calls build their lines only then.
bool is_tracing();

// "0" for null, otherwise 0x-prefixed hex: how handles and addresses are traced.
std::string pointer_text(const void* pointer);

}  // namespace device_simulator
