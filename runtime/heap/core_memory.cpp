// Core memory: regions reserved from the platform in units of about 52 MiB,
// committed page by page at their end and given back page by page when the
// heap trims its top; plus regions of their own for large blocks. Every
// failed platform call is reported in the fatal report box. The list of
// region records, newest first, lives in the process heap.
#include "core_memory.hpp"

#include <new>

#include "fatal_report.hpp"
#include "windows_ce.hpp"

namespace runtime {
namespace {

constexpr std::uintptr_t granularity_extra = 0x200000;
constexpr std::uintptr_t region_unit_extra = 0x3200000;

// The error is the last error of the call that failed, read right after it.
void report(heap_site site, DWORD error = GetLastError()) {
    report_allocation_failure(code_of(site), error);
}

}  // namespace

core_memory::~core_memory() {
    for (region_record* record = head_; record;) {
        region_record* older = record->next;
        if (record->reservation_size != 0) VirtualFree(reinterpret_cast<void*>(record->base()), 0, MEM_RELEASE);
        HeapFree(GetProcessHeap(), 0, record);
        record = older;
    }
    for (region_record* record = unfreed_; record;) {
        region_record* next = record->next;
        HeapFree(GetProcessHeap(), 0, record);
        record = next;
    }
}

unsigned char* core_memory::failure() {
    return reinterpret_cast<unsigned char*>(~std::uintptr_t{0});
}

void core_memory::record_segment(chunk start) {
    if (segment_count_ < segment_limit) segment_starts_[segment_count_++] = start;
}

void core_memory::load_system_figures() {
    if (figures_loaded_) return;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    page_size_ = info.dwPageSize;
    separate_granularity_ = info.dwAllocationGranularity + granularity_extra;
    region_unit_ = separate_granularity_ + region_unit_extra;
    figures_loaded_ = true;
}

// The first record is all zero: a region of no size, which the first growth continues.
bool core_memory::start_core() {
    if (started_) return true;
    load_system_figures();
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(region_record));
    if (!memory) {
        report(heap_site::first_region_record);
        return false;
    }
    head_ = new (memory) region_record{0, 0, 0, 0, nullptr};
    started_ = true;
    return true;
}

unsigned char* core_memory::extend_core(std::int64_t bytes) {
    if (!start_core()) return failure();
    if (bytes >= 0) return grow_core(static_cast<std::uintptr_t>(bytes));
    return shrink_core(static_cast<std::uintptr_t>(-bytes));
}

bool core_memory::commit_at(std::uintptr_t address, std::uintptr_t bytes, heap_site null_site,
                            heap_site moved_site) {
    void* committed = VirtualAlloc(reinterpret_cast<void*>(address), bytes, MEM_COMMIT, PAGE_READWRITE);
    if (reinterpret_cast<std::uintptr_t>(committed) == address) return true;
    // A null result is reported twice; the first box must not change what the second says.
    DWORD error = GetLastError();
    if (!committed) report(null_site, error);
    report(moved_site, error);
    return false;
}

unsigned char* core_memory::grow_core(std::uintptr_t bytes) {
    region_record* head = head_;
    if (bytes > ~std::uintptr_t{0} - head->reserved_top - region_unit_) return failure();
    std::uintptr_t old_end = head->allocated_top;
    if (old_end + bytes <= head->committed_top) {
        head->allocated_top += bytes;
        return reinterpret_cast<unsigned char*>(old_end);
    }
    std::uintptr_t pages = round_up(old_end + bytes - head->committed_top, page_size_);
    if (head->committed_top + pages > head->reserved_top) return grow_into_new_region(bytes);
    if (!commit_at(head->committed_top, pages, heap_site::pages_commit_null, heap_site::pages_commit_moved))
        return failure();
    head->committed_top += pages;
    head->allocated_top += bytes;
    return reinterpret_cast<unsigned char*>(old_end);
}

// The head region's reservation is used up: commit what is left of it,
// reserve a new region, and continue the old core when the new region lies
// right after it (or the head is the all-zero first record).
unsigned char* core_memory::grow_into_new_region(std::uintptr_t bytes) {
    region_record* head = head_;
    if (head->reserved_top > head->committed_top) {
        std::uintptr_t rest = head->reserved_top - head->committed_top;
        if (!commit_at(head->committed_top, rest, heap_site::rest_commit_null, heap_site::rest_commit_moved))
            return failure();
        head->committed_top = head->reserved_top;
    }
    std::uintptr_t size = 0;
    void* base = reserve_region(head->allocated_top + bytes - head->reserved_top, size);
    if (!base) return failure();
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(region_record));
    if (!memory) {
        report(heap_site::new_region_record);
        VirtualFree(base, 0, MEM_RELEASE);  // not to leave an unused reservation behind
        return failure();
    }
    std::uintptr_t start = reinterpret_cast<std::uintptr_t>(base);
    std::uintptr_t carried = bytes;
    if (start == head->reserved_top || head->reservation_size == 0) {
        carried = bytes - (head->committed_top - head->allocated_top);
        head->allocated_top = head->committed_top;
    }
    head_ = new (memory) region_record{start, start, start + size, size, head};
    std::uintptr_t carried_pages = round_up(carried, page_size_);
    if (carried > 0 && !commit_at(start, carried_pages, heap_site::pages_commit_null, heap_site::pages_commit_moved))
        return failure();
    head_->committed_top = start + carried_pages;
    head_->allocated_top = start + carried;
    return reinterpret_cast<unsigned char*>(head_->allocated_top - bytes);
}

// A reservation of `uncovered` bytes rounded up to whole region units; the
// unit shrinks by a page after each refusal, down to one page. Null once
// even that is refused.
void* core_memory::reserve_region(std::uintptr_t uncovered, std::uintptr_t& size) {
    for (;;) {
        size = round_up(uncovered, region_unit_);
        void* base = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
        if (base) return base;
        if (region_unit_ < 2 * page_size_) {
            report(heap_site::region_reserve);
            return nullptr;
        }
        region_unit_ -= page_size_;
    }
}

// Releases whole regions the new end falls below, then decommits the whole
// pages above it.
unsigned char* core_memory::shrink_core(std::uintptr_t bytes) {
    while (head_->reservation_size != 0 && bytes > head_->used_bytes()) {
        std::uintptr_t released = head_->used_bytes();
        if (!release_head_region()) return failure();
        bytes -= released;
    }
    region_record* head = head_;
    if (bytes > head->used_bytes()) {
        head->allocated_top = head->base();
        return failure();
    }
    std::uintptr_t new_end = head->allocated_top - bytes;
    if (!decommit_from(round_up(new_end, page_size_))) return failure();
    head->allocated_top = new_end;
    return reinterpret_cast<unsigned char*>(new_end);
}

// Gives the head region back and drops its record. The record is unlinked
// before it is freed, so the list never names a region that is gone,
// whatever fails.
bool core_memory::release_head_region() {
    region_record* head = head_;
    if (!VirtualFree(reinterpret_cast<void*>(head->base()), 0, MEM_RELEASE)) {
        report(heap_site::region_release);
        return false;
    }
    head_ = head->next;
    if (!HeapFree(GetProcessHeap(), 0, head)) {
        report(heap_site::region_record_drop);
        head->next = unfreed_;
        unfreed_ = head;
        return false;
    }
    return true;
}

// Decommits the head region's pages from first_free_page on, when at least
// a whole page is committed there.
bool core_memory::decommit_from(std::uintptr_t first_free_page) {
    region_record* head = head_;
    if (head->committed_top < first_free_page + page_size_) return true;
    if (!VirtualFree(reinterpret_cast<void*>(first_free_page), head->committed_top - first_free_page, MEM_DECOMMIT)) {
        report(heap_site::pages_decommit);
        return false;
    }
    head->committed_top = first_free_page;
    return true;
}

// A region of its own: reserved in whole separate-region units, then
// committed. Without a reservation the commit reserves as well.
unsigned char* core_memory::map_region(std::uintptr_t size) {
    load_system_figures();
    void* reserved = VirtualAlloc(nullptr, round_up(size, separate_granularity_), MEM_RESERVE, PAGE_NOACCESS);
    if (!reserved) report(heap_site::separate_reserve);
    void* committed = VirtualAlloc(reserved, size, MEM_COMMIT, PAGE_READWRITE);
    if (!committed) {
        report(heap_site::separate_commit);
        if (reserved) VirtualFree(reserved, 0, MEM_RELEASE);
        return failure();
    }
    return static_cast<unsigned char*>(committed);
}

int core_memory::unmap_region(unsigned char* address, std::uintptr_t) {
    if (!VirtualFree(address, 0, MEM_RELEASE)) {
        report(heap_site::separate_release);
        return -1;
    }
    return 0;
}

}  // namespace runtime
