// The doubt list: forms on which libxml2 answers otherwise than XPath 1.0 as
// this project reads it, found by running both peers. For a case of such a
// form pugixml's answer is the reference instead; without pugixml the case
// is skipped. Each entry carries an example on which the two peers still
// differ, and a test checks that they do.
#pragma once

#include <string>
#include <vector>

#include "conformance_case.hpp"

namespace conformance {

struct reference_doubt {
    std::string form;  // short name of the form
    bool (*matches)(const conformance_case&);
    conformance_case example;  // libxml2 and pugixml differ on it
    std::string reason;        // one line: what libxml2 does there
};

const std::vector<reference_doubt>& reference_doubts();

// The first entry whose form the case has, or null.
const reference_doubt* doubt_for(const conformance_case& tested);

}  // namespace conformance
