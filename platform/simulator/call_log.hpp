// Tracing and injected failures, shared by every simulated call. A call names
// itself once, in a simulated_call: it first asks fails() (which sets the last
// error when it says yes), then traces itself once it knows its result. The
// names come from one list, simulated_calls.def.
#pragma once

#include <string>

#include "simulator/windows_ce_api.hpp"

namespace device_simulator {

enum class simulated_function {
#define SIMULATED_CALL(name, failure) name,
#include "simulated_calls.def"
#undef SIMULATED_CALL
};

// The name a call traces under and fail_call takes.
const char* function_name(simulated_function function);

bool should_fail(simulated_function function);
void trace_call(const std::string& line);
// Whether a trace line would go anywhere: calls build their lines only then.
bool is_tracing();

// "0" for null, otherwise 0x-prefixed hex: how handles and addresses are traced.
std::string pointer_text(const void* pointer);

// One simulated call, named once for both the injected failure and the
// trace line.
class simulated_call {
public:
    explicit simulated_call(simulated_function function) : function_(function) {}

    // Whether a failure planned with fail_call is due now (the last error is then set).
    bool fails() const { return should_fail(function_); }

    // Writes the trace line "<name> <details()>"; details is asked for its
    // text only while tracing is on.
    template <class Details>
    void trace(Details details) const {
        if (is_tracing()) trace_call(std::string(function_name(function_)) + " " + details());
    }

private:
    simulated_function function_;
};

}  // namespace device_simulator
