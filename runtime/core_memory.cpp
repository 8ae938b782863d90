// Core memory under the top chunk: regions reserved from the platform in
// units of about 52 MiB, committed page by page at their end and given back
// page by page when the top is trimmed; plus regions of their own for large
// blocks. Every failed platform call is reported in the fatal report box.
// The list of region records, newest first, lives in the process heap.
#include <new>

#include "fatal_report.hpp"
#include "heap_site.hpp"
#include "internal/private_heap.hpp"

namespace runtime {
namespace {

constexpr std::uintptr_t granularity_extra = 0x200000;
constexpr std::uintptr_t region_unit_extra = 0x3200000;

std::uintptr_t round_up(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) / unit * unit;
}

// The error is the last error of the call that failed, read right after it.
void report(heap_site site, DWORD error = GetLastError()) {
    report_allocation_failure(code_of(site), error);
}

}  // namespace

private_heap::~private_heap() {
    for (region_record* record = core_.head; record;) {
        region_record* older = record->next;
        if (record->reservation_size != 0)
            VirtualFree(reinterpret_cast<void*>(record->reserved_top - record->reservation_size), 0, MEM_RELEASE);
        HeapFree(GetProcessHeap(), 0, record);
        record = older;
    }
    for (region_record* record = core_.unfreed; record;) {
        region_record* next = record->next;
        HeapFree(GetProcessHeap(), 0, record);
        record = next;
    }
    DeleteCriticalSection(&lock_);
}

unsigned char* private_heap::failure() {
    return reinterpret_cast<unsigned char*>(~std::uintptr_t{0});
}

void private_heap::load_system_figures() {
    if (core_.figures_loaded) return;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    core_.page_size = info.dwPageSize;
    core_.separate_granularity = info.dwAllocationGranularity + granularity_extra;
    core_.region_unit = core_.separate_granularity + region_unit_extra;
    core_.figures_loaded = true;
}

bool private_heap::start_core() {
    if (core_.started) return true;
    load_system_figures();
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(region_record));
    if (!memory) {
        report(heap_site::first_region_record);
        return false;
    }
    core_.head = new (memory) region_record{0, 0, 0, 0, nullptr};
    core_.started = true;
    return true;
}

// Grows (count >= 0) or shrinks the core; returns the old end when growing,
// the new end when shrinking, failure() when it cannot.
unsigned char* private_heap::extend_core(std::int64_t bytes) {
    if (!start_core()) return failure();
    if (bytes >= 0) return grow_core(static_cast<std::uintptr_t>(bytes));
    return shrink_core(static_cast<std::uintptr_t>(-bytes));
}

bool private_heap::commit_at(std::uintptr_t address, std::uintptr_t bytes, heap_site null_site,
                             heap_site moved_site) {
    void* committed = VirtualAlloc(reinterpret_cast<void*>(address), bytes, MEM_COMMIT, PAGE_READWRITE);
    if (reinterpret_cast<std::uintptr_t>(committed) == address) return true;
    // A null result is reported twice; the first box must not change what the second says.
    DWORD error = GetLastError();
    if (!committed) report(null_site, error);
    report(moved_site, error);
    return false;
}

unsigned char* private_heap::grow_core(std::uintptr_t bytes) {
    region_record* head = core_.head;
    if (bytes > ~std::uintptr_t{0} - head->reserved_top - core_.region_unit) return failure();
    std::uintptr_t old_end = head->allocated_top;
    if (old_end + bytes <= head->committed_top) {
        head->allocated_top += bytes;
        return reinterpret_cast<unsigned char*>(old_end);
    }
    std::uintptr_t pages = round_up(old_end + bytes - head->committed_top, core_.page_size);
    if (head->committed_top + pages > head->reserved_top) return grow_into_new_region(bytes);
    if (!commit_at(head->committed_top, pages, heap_site::pages_commit_null, heap_site::pages_commit_moved))
        return failure();
    head->committed_top += pages;
    head->allocated_top += bytes;
    return reinterpret_cast<unsigned char*>(old_end);
}

// The head region's reservation is used up: commit what is left of it,
// reserve a new region (shrinking the unit by a page after each refusal),
// and continue the old core when the new region lies right after it.
unsigned char* private_heap::grow_into_new_region(std::uintptr_t bytes) {
    region_record* head = core_.head;
    if (head->reserved_top > head->committed_top) {
        std::uintptr_t rest = head->reserved_top - head->committed_top;
        if (!commit_at(head->committed_top, rest, heap_site::rest_commit_null, heap_site::rest_commit_moved))
            return failure();
        head->committed_top = head->reserved_top;
    }
    std::uintptr_t uncovered = head->allocated_top + bytes - head->reserved_top;
    void* base = nullptr;
    std::uintptr_t size = 0;
    for (;;) {
        size = round_up(uncovered, core_.region_unit);
        base = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
        if (base) break;
        if (core_.region_unit < 2 * core_.page_size) {
            report(heap_site::region_reserve);
            return failure();
        }
        core_.region_unit -= core_.page_size;
    }
    std::uintptr_t start = reinterpret_cast<std::uintptr_t>(base);
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(region_record));
    if (!memory) {
        report(heap_site::new_region_record);
        VirtualFree(base, 0, MEM_RELEASE);  // not to leave an unused reservation behind
        return failure();
    }
    bool first_region = head->reservation_size == 0;
    std::uintptr_t carried = bytes;
    if (start == head->reserved_top || first_region) {
        carried = bytes - (head->committed_top - head->allocated_top);
        head->allocated_top = head->committed_top;
    }
    core_.head = new (memory) region_record{start, start, start + size, size, head};
    std::uintptr_t carried_pages = round_up(carried, core_.page_size);
    if (carried > 0 && !commit_at(start, carried_pages, heap_site::pages_commit_null, heap_site::pages_commit_moved))
        return failure();
    core_.head->committed_top = start + carried_pages;
    core_.head->allocated_top = start + carried;
    return reinterpret_cast<unsigned char*>(core_.head->allocated_top - bytes);
}

// Releases whole regions the new end falls below, then decommits the whole
// pages above it. A record is unlinked before it is freed, so the list never
// names a region that is gone, whatever fails.
unsigned char* private_heap::shrink_core(std::uintptr_t bytes) {
    region_record* head = core_.head;
    auto base_of = [](const region_record* record) { return record->reserved_top - record->reservation_size; };
    while (head->reservation_size != 0 && bytes > head->allocated_top - base_of(head)) {
        if (!VirtualFree(reinterpret_cast<void*>(base_of(head)), 0, MEM_RELEASE)) {
            report(heap_site::region_release);
            return failure();
        }
        bytes -= head->allocated_top - base_of(head);
        core_.head = head->next;
        if (!HeapFree(GetProcessHeap(), 0, head)) {
            report(heap_site::region_record_drop);
            head->next = core_.unfreed;
            core_.unfreed = head;
            return failure();
        }
        head = core_.head;
    }
    if (bytes > head->allocated_top - base_of(head)) {
        head->allocated_top = base_of(head);
        return failure();
    }
    std::uintptr_t new_end = head->allocated_top - bytes;
    std::uintptr_t first_free_page = round_up(new_end, core_.page_size);
    if (head->committed_top >= first_free_page + core_.page_size) {
        if (!VirtualFree(reinterpret_cast<void*>(first_free_page), head->committed_top - first_free_page,
                         MEM_DECOMMIT)) {
            report(heap_site::pages_decommit);
            return failure();
        }
        head->committed_top = first_free_page;
    }
    head->allocated_top = new_end;
    return reinterpret_cast<unsigned char*>(new_end);
}

// A region of its own: reserved in whole separate-region units, then
// committed. Without a reservation the commit reserves as well.
unsigned char* private_heap::map_region(std::uintptr_t size) {
    load_system_figures();
    void* reserved = VirtualAlloc(nullptr, round_up(size, core_.separate_granularity), MEM_RESERVE, PAGE_NOACCESS);
    if (!reserved) report(heap_site::separate_reserve);
    void* committed = VirtualAlloc(reserved, size, MEM_COMMIT, PAGE_READWRITE);
    if (!committed) {
        report(heap_site::separate_commit);
        if (reserved) VirtualFree(reserved, 0, MEM_RELEASE);
        return failure();
    }
    return static_cast<unsigned char*>(committed);
}

int private_heap::unmap_region(unsigned char* address, std::uintptr_t) {
    if (!VirtualFree(address, 0, MEM_RELEASE)) {
        report(heap_site::separate_release);
        return -1;
    }
    return 0;
}

}  // namespace runtime
