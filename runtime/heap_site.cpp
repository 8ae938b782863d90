// The names of the heap's site codes, for tools and messages.
#include "heap_site.hpp"

namespace runtime {

// A switch without default: the compiler names any site left out here.
const char* heap_site_name(int site) {
    switch (static_cast<heap_site>(site)) {
        case heap_site::first_region_record: return "first_region_record";
        case heap_site::rest_commit_null: return "rest_commit_null";
        case heap_site::rest_commit_moved: return "rest_commit_moved";
        case heap_site::region_reserve: return "region_reserve";
        case heap_site::new_region_record: return "new_region_record";
        case heap_site::pages_commit_null: return "pages_commit_null";
        case heap_site::pages_commit_moved: return "pages_commit_moved";
        case heap_site::region_release: return "region_release";
        case heap_site::region_record_drop: return "region_record_drop";
        case heap_site::pages_decommit: return "pages_decommit";
        case heap_site::separate_reserve: return "separate_reserve";
        case heap_site::separate_commit: return "separate_commit";
        case heap_site::separate_release: return "separate_release";
    }
    return nullptr;
}

}  // namespace runtime
