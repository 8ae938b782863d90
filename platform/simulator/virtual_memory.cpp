// Simulated virtual memory: VirtualAlloc and VirtualFree over real host
// mappings, with the device's rules for granularity, rounding and errors. A
// reservation is an inaccessible mapping; commit opens its pages, decommit
// hands them back to the host, release unmaps it. A table of reservations
// keeps each page's commit state, so the simulator reports exact totals.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "call_log.hpp"
#include "simulator/device_simulator.hpp"

using namespace device_simulator;

namespace {

constexpr std::uintptr_t allocation_granularity = 0x10000;

std::uintptr_t page_size() {
    static const std::uintptr_t size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// Half-open range of addresses [first, end).
struct address_range {
    std::uintptr_t first = 0;
    std::uintptr_t end = 0;
    std::size_t size_bytes() const { return end - first; }
    void* start() const { return reinterpret_cast<void*>(first); }
};

// Rounds `value` up to a multiple of `unit`; false when that does not fit.
bool round_up(std::uintptr_t value, std::uintptr_t unit, std::uintptr_t& rounded) {
    std::uintptr_t remainder = value % unit;
    if (remainder == 0) {
        rounded = value;
        return true;
    }
    rounded = value + (unit - remainder);
    return rounded > value;
}

// The range from `address` rounded down to `start_unit` to the end of the last
// page that [address, address + size) touches; false when it overflows.
bool range_from(std::uintptr_t address, std::size_t size, std::uintptr_t start_unit, address_range& range) {
    std::uintptr_t last = address + size;
    if (last < address || !round_up(last, page_size(), range.end)) return false;
    range.first = address - address % start_unit;
    return true;
}

struct reservation {
    std::size_t size_bytes = 0;
    std::vector<bool> committed;  // one flag per page
    std::size_t committed_pages = 0;
    bool bottom_up = false;  // placed in the simulator's own arena
};

struct reservation_table {
    std::mutex mutex;
    std::map<std::uintptr_t, reservation> by_base;
};

reservation_table& table() {
    static reservation_table instance;
    return instance;
}

using reservation_entry = std::map<std::uintptr_t, reservation>::iterator;

// The reservation that holds the whole range, or by_base.end(). Called with the table locked.
reservation_entry holder_of(const address_range& range) {
    auto& by_base = table().by_base;
    auto after = by_base.upper_bound(range.first);
    if (after == by_base.begin()) return by_base.end();
    auto holder = std::prev(after);
    bool holds = range.first < range.end && range.end <= holder->first + holder->second.size_bytes;
    return holds ? holder : by_base.end();
}

// The reservation that holds every page that [address, address + size) touches, or by_base.end().
reservation_entry holder_of_pages(std::uintptr_t address, std::size_t size, address_range& pages) {
    if (!range_from(address, size, page_size(), pages)) return table().by_base.end();
    return holder_of(pages);
}

void* map_inaccessible(void* address, std::size_t size, int extra_flags) {
    void* mapped = mmap(address, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | extra_flags, -1, 0);
    return mapped == MAP_FAILED ? nullptr : mapped;
}

// The host only promises page alignment, so map one granule more than needed
// and unmap the misaligned head and the unused tail.
bool reserve_anywhere(std::size_t size, address_range& range) {
    std::uintptr_t rounded_size = 0;
    if (!round_up(size, page_size(), rounded_size) || rounded_size > SIZE_MAX - allocation_granularity) return false;
    std::size_t mapped_size = rounded_size + allocation_granularity;
    void* mapped = map_inaccessible(nullptr, mapped_size, 0);
    if (!mapped) return false;
    std::uintptr_t mapped_first = reinterpret_cast<std::uintptr_t>(mapped);
    round_up(mapped_first, allocation_granularity, range.first);
    range.end = range.first + rounded_size;
    if (range.first > mapped_first) munmap(mapped, range.first - mapped_first);
    std::uintptr_t mapped_end = mapped_first + mapped_size;
    if (mapped_end > range.end) munmap(reinterpret_cast<void*>(range.end), mapped_end - range.end);
    return true;
}

// Kernels before 4.17 take MAP_FIXED_NOREPLACE as a mere hint, hence the check of the result.
bool reserve_at(const address_range& range) {
    if (range.first < allocation_granularity) return false;  // the first granule is never the program's
    void* mapped = map_inaccessible(range.start(), range.size_bytes(), MAP_FIXED_NOREPLACE);
    if (mapped == range.start()) return true;
    if (mapped) munmap(mapped, range.size_bytes());
    return false;
}

reservation_entry record_reservation(const address_range& range, bool bottom_up) {
    reservation entry;
    entry.size_bytes = range.size_bytes();
    entry.bottom_up = bottom_up;
    entry.committed.assign(range.size_bytes() / page_size(), false);
    return table().by_base.emplace(range.first, std::move(entry)).first;
}

void mark_pages(reservation_entry holder, const address_range& pages, bool committed) {
    reservation& r = holder->second;
    std::size_t first_page = (pages.first - holder->first) / page_size();
    std::size_t end_page = (pages.end - holder->first) / page_size();
    for (std::size_t page = first_page; page < end_page; ++page) {
        if (r.committed[page] == committed) continue;
        r.committed[page] = committed;
        if (committed)
            ++r.committed_pages;
        else
            --r.committed_pages;
    }
}

int host_protection(DWORD protect) {
    if (protect == PAGE_READWRITE) return PROT_READ | PROT_WRITE;
    if (protect == PAGE_READONLY) return PROT_READ;
    return PROT_NONE;
}

// Committed pages keep their content; pages never committed read as zero.
bool commit_pages(reservation_entry holder, const address_range& pages, DWORD protect) {
    if (mprotect(pages.start(), pages.size_bytes(), host_protection(protect)) != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    mark_pages(holder, pages, true);
    return true;
}

// MADV_DONTNEED drops the private pages, so a later commit sees zeros again.
bool decommit_pages(reservation_entry holder, const address_range& pages) {
    madvise(pages.start(), pages.size_bytes(), MADV_DONTNEED);
    if (mprotect(pages.start(), pages.size_bytes(), PROT_NONE) != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    mark_pages(holder, pages, false);
    return true;
}

bool is_known_allocation_type(DWORD type) {
    return type == MEM_RESERVE || type == MEM_COMMIT || type == (MEM_RESERVE | MEM_COMMIT);
}

bool is_known_protection(DWORD protect) {
    return protect == PAGE_NOACCESS || protect == PAGE_READONLY || protect == PAGE_READWRITE;
}

// Where the simulator's own bottom-up arena begins: an address range that the
// host leaves free. On 64-bit hosts high in the address space, clear of the
// sanitizers' shadow memory. On 32-bit hosts at 256 MiB: qemu-arm loads the
// program at 1 GiB and maps downwards from just below it, a 32-bit ARM kernel
// loads it near 2 GiB and maps downwards from near 3 GiB, so the arena has
// hundreds of MiB before it meets either.
constexpr std::uintptr_t bottom_up_arena_base() {
    if constexpr (sizeof(std::uintptr_t) >= 8) {
        return static_cast<std::uintptr_t>(0x300000000000ULL);
    } else {
        return 0x10000000;
    }
}

// Where the next reservation in the arena starts: past the highest one the
// arena holds, so that one reserved right after another continues it, and
// space given back at the top is used again (a 32-bit arena has room for only
// a few dozen of the heap's cores, and a test program makes hundreds in turn).
// Called with the table locked.
bool arena_top(std::uintptr_t& top) {
    const auto& by_base = table().by_base;
    for (auto entry = by_base.rbegin(); entry != by_base.rend(); ++entry)
        if (entry->second.bottom_up) return round_up(entry->first + entry->second.size_bytes, allocation_granularity, top);
    top = bottom_up_arena_base();
    return true;
}

// Windows places reservations bottom-up, so regions reserved one after
// another continue each other, which the private heap relies on to grow its
// core in place. The simulator does the same in an arena of its own on every
// pointer size, and reserves anywhere only when the arena is taken. Called
// with the table locked.
bool reserve_bottom_up(std::size_t size, address_range& range) {
    std::uintptr_t next_free = 0;
    if (!arena_top(next_free)) return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!range_from(next_free, size, allocation_granularity, range)) return false;
        if (reserve_at(range)) return true;
        // something else lives there: try past it
        if (!round_up(range.end, allocation_granularity, next_free)) return false;
    }
    return false;
}

// A new reservation: anywhere for a null address, else from the address
// rounded down to the allocation granularity.
LPVOID reserve(std::uintptr_t address, std::size_t size, bool commit, DWORD protect) {
    address_range range;
    bool bottom_up = address == 0 && reserve_bottom_up(size, range);
    bool placed = bottom_up || (address == 0 ? reserve_anywhere(size, range)
                                             : range_from(address, size, allocation_granularity, range) && reserve_at(range));
    if (!placed) {
        SetLastError(address == 0 ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_ADDRESS);
        return nullptr;
    }
    reservation_entry holder = record_reservation(range, bottom_up);
    if (commit && !commit_pages(holder, range, protect)) {
        munmap(range.start(), range.size_bytes());
        table().by_base.erase(holder);
        return nullptr;
    }
    return range.start();
}

// Commits the pages that [address, address + size) touches inside one reservation.
LPVOID commit_range(std::uintptr_t address, std::size_t size, DWORD protect) {
    address_range pages;
    reservation_entry holder = holder_of_pages(address, size, pages);
    if (holder == table().by_base.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return nullptr;
    }
    return commit_pages(holder, pages, protect) ? pages.start() : nullptr;
}

LPVOID allocate(LPVOID address, SIZE_T size, DWORD type, DWORD protect) {
    if (size == 0 || !is_known_allocation_type(type) || !is_known_protection(protect)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(address);
    std::lock_guard<std::mutex> lock(table().mutex);
    if (type == MEM_COMMIT && at != 0) return commit_range(at, size, protect);
    // MEM_COMMIT alone with a null address reserves and commits in one step, as MEM_RESERVE | MEM_COMMIT does.
    return reserve(at, size, (type & MEM_COMMIT) != 0, protect);
}

BOOL release(std::uintptr_t address, std::size_t size) {
    auto found = table().by_base.find(address);
    if (size != 0 || found == table().by_base.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    munmap(reinterpret_cast<void*>(address), found->second.size_bytes);
    table().by_base.erase(found);
    return TRUE;
}

// Size 0 means the whole reservation and is only allowed at its base.
BOOL decommit(std::uintptr_t address, std::size_t size) {
    if (size == 0) {
        auto found = table().by_base.find(address);
        if (found == table().by_base.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return decommit_pages(found, address_range{address, address + found->second.size_bytes});
    }
    address_range pages;
    reservation_entry holder = holder_of_pages(address, size, pages);
    if (holder == table().by_base.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    return decommit_pages(holder, pages);
}

BOOL free_memory(LPVOID address, SIZE_T size, DWORD type) {
    if (type != MEM_RELEASE && type != MEM_DECOMMIT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(address);
    std::lock_guard<std::mutex> lock(table().mutex);
    return type == MEM_RELEASE ? release(at, size) : decommit(at, size);
}

std::string hex_text(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

struct processor_kind {
    WORD architecture;  // PROCESSOR_ARCHITECTURE_*
    DWORD type;         // PROCESSOR_*
};

processor_kind host_processor() {
#if defined(__x86_64__)
    return {9, 8664};  // AMD64
#elif defined(__aarch64__)
    return {12, 0};  // ARM64 has no processor type number
#elif defined(__arm__)
    return {5, 2577};  // ARM, StrongARM as on the device
#else
    return {0, 586};  // Intel
#endif
}

// The top of the host's user address space, less the last granule as Windows keeps it.
std::uintptr_t maximum_application_address() {
#if defined(__x86_64__)
    constexpr unsigned address_bits = 47;
#elif defined(__aarch64__)
    constexpr unsigned address_bits = 48;
#else
    constexpr unsigned address_bits = sizeof(void*) * 8 - 1;
#endif
    return (std::uintptr_t{1} << address_bits) - allocation_granularity - 1;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocation_type, DWORD protect) {
    simulated_call call(simulated_function::VirtualAlloc);
    LPVOID result = call.fails() ? nullptr : allocate(address, size, allocation_type, protect);
    call.trace([&] {
        return pointer_text(address) + " " + std::to_string(size) + " " + hex_text(allocation_type) + " " +
               hex_text(protect) + " -> " + pointer_text(result);
    });
    return result;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD free_type) {
    simulated_call call(simulated_function::VirtualFree);
    BOOL ok = call.fails() ? FALSE : free_memory(address, size, free_type);
    call.trace([&] {
        return pointer_text(address) + " " + std::to_string(size) + " " + hex_text(free_type) +
               (ok ? " -> ok" : " -> failed");
    });
    return ok;
}

void GetSystemInfo(SYSTEM_INFO* info) {
    simulated_call call(simulated_function::GetSystemInfo);
    if (info) {
        long processors = sysconf(_SC_NPROCESSORS_ONLN);
        DWORD count = processors > 0 ? static_cast<DWORD>(processors) : 1;
        *info = SYSTEM_INFO{};
        info->wProcessorArchitecture = host_processor().architecture;
        info->dwProcessorType = host_processor().type;
        info->dwPageSize = static_cast<DWORD>(page_size());
        info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(allocation_granularity);
        info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(maximum_application_address());
        info->dwActiveProcessorMask = count >= sizeof(DWORD_PTR) * 8 ? ~DWORD_PTR{0} : (DWORD_PTR{1} << count) - 1;
        info->dwNumberOfProcessors = count;
        info->dwAllocationGranularity = static_cast<DWORD>(allocation_granularity);
    }
    call.trace([&] { return pointer_text(info); });
}

namespace device_simulator {

std::size_t reserved_bytes() {
    std::lock_guard<std::mutex> lock(table().mutex);
    std::size_t total = 0;
    for (const auto& entry : table().by_base) total += entry.second.size_bytes;
    return total;
}

std::size_t committed_bytes() {
    std::lock_guard<std::mutex> lock(table().mutex);
    std::size_t pages = 0;
    for (const auto& entry : table().by_base) pages += entry.second.committed_pages;
    return pages * page_size();
}

}  // namespace device_simulator
