// Side-by-side benchmark: the engines it compares and the workloads they
// run. Every engine loads the same XML texts once; an evaluation compiles
// the expression text and evaluates it against a loaded document, as the
// launcher does once per start.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace side_by_side {

// What an answer is compared by: an integer (32 bits, the project's integer
// width), a string, or a node-set's size and its first item's "id" attribute.
enum class answer_kind { integer, text, nodes };

struct workload {
    std::string expression;
    answer_kind kind;
    std::string document;  // key of a loaded document
    std::string label;     // column text: "10k", "100k", ...
    std::string expected;  // the answer every engine must give
};

class engine {
public:
    virtual ~engine() = default;
    virtual const char* name() const = 0;
    virtual void load(const std::string& key, const std::string& xml) = 0;
    // One evaluation as the benchmark times it; returns a digest (the
    // integer, the node count or the string length) so that nothing is
    // optimised away.
    virtual std::int64_t evaluate(const workload& w) = 0;
    // One evaluation described as text, in the form of workload::expected.
    virtual std::string answer(const workload& w) = 0;
};

std::unique_ptr<engine> make_project_engine();
std::unique_ptr<engine> make_pugixml_engine();   // only where pugixml is installed
std::unique_ptr<engine> make_libxml2_engine();   // only where libxml2 is installed

// An integer answer saturated at the 32-bit limits, as the project's integer
// conversion gives it, as text.
std::string integer_answer(std::int64_t value);
std::string nodes_answer(std::int64_t count, const std::string& first_id);

}  // namespace side_by_side
