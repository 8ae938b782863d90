// The comparison of two answers.
#include "answer_comparison.hpp"

#include <cmath>

namespace conformance {
namespace {

bool same_number(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b;  // +0 == -0 already
}

}  // namespace

bool same_answer(const engine_answer& ours, const engine_answer& reference) {
    if (ours.kind != reference.kind) return false;
    switch (ours.kind) {
        case answer_kind::error: return true;
        case answer_kind::boolean: return ours.truth == reference.truth;
        case answer_kind::number: return same_number(ours.number, reference.number);
        case answer_kind::string: return ours.text == reference.text;
        case answer_kind::nodes: return ours.node_keys == reference.node_keys;
    }
    return false;
}

}  // namespace conformance
