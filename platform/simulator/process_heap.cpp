// Simulated process heap: GetProcessHeap, HeapAlloc and HeapFree over the
// host allocator. There is one heap, the process heap; its handle lives in
// the handle table so that it is a real, stable handle value. Private heaps
// are the program's own business, built over VirtualAlloc.
#include <cstdlib>
#include <string>

#include "call_log.hpp"
#include "handle_table.hpp"

using namespace device_simulator;

namespace {

struct process_heap_object : kernel_object {};

// The device's address space is 32-bit: no block can be this large there.
// Refusing it here also keeps absurd sizes away from the host allocator.
constexpr SIZE_T largest_block_bytes = 0x7FFFFFFF;

HANDLE process_heap() {
    static const HANDLE handle = open_handle(std::make_shared<process_heap_object>());
    return handle;
}

LPVOID allocate_block(HANDLE heap, DWORD flags, SIZE_T size) {
    if (heap != process_heap()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Windows hands out a distinct block even for size 0; the host may not, so ask for one byte.
    SIZE_T host_size = size == 0 ? 1 : size;
    LPVOID block = nullptr;
    if (size <= largest_block_bytes)
        block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, host_size) : std::malloc(host_size);
    if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

BOOL free_block(HANDLE heap, LPVOID block) {
    if (heap != process_heap()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::free(block);
    return TRUE;
}

}  // namespace

HANDLE GetProcessHeap() {
    simulated_call call(simulated_function::GetProcessHeap);
    HANDLE heap = process_heap();
    call.trace([&] { return "-> " + pointer_text(heap); });
    return heap;
}

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    simulated_call call(simulated_function::HeapAlloc);
    LPVOID block = call.fails() ? nullptr : allocate_block(heap, flags, size);
    call.trace([&] {
        return pointer_text(heap) + " " + std::to_string(flags) + " " + std::to_string(size) + " -> " +
               pointer_text(block);
    });
    return block;
}

BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    simulated_call call(simulated_function::HeapFree);
    BOOL ok = call.fails() ? FALSE : free_block(heap, block);
    call.trace([&] {
        return pointer_text(heap) + " " + std::to_string(flags) + " " + pointer_text(block) +
               (ok ? " -> ok" : " -> failed");
    });
    return ok;
}
