// pugixml as a peer in the side-by-side benchmark, used through its public
// interface only: an xpath_query compiled from the text on every evaluation.
#include <pugixml.hpp>

#include "engines.hpp"

namespace side_by_side {
namespace {

class pugixml_engine : public engine {
public:
    const char* name() const override { return "pugixml"; }

    void load(const std::string& key, const std::string& xml) override {
        auto document = std::make_unique<pugi::xml_document>();
        document->load_string(xml.c_str());
        documents_[key] = std::move(document);
    }

    std::int64_t evaluate(const workload& w) override {
        pugi::xpath_query query(w.expression.c_str());
        const pugi::xml_document& document = *documents_.at(w.document);
        switch (w.kind) {
            case answer_kind::integer: return static_cast<std::int64_t>(query.evaluate_number(document));
            case answer_kind::nodes: return static_cast<std::int64_t>(query.evaluate_node_set(document).size());
            case answer_kind::text: break;
        }
        return static_cast<std::int64_t>(query.evaluate_string(document).size());
    }

    std::string answer(const workload& w) override {
        pugi::xpath_query query(w.expression.c_str());
        const pugi::xml_document& document = *documents_.at(w.document);
        switch (w.kind) {
            case answer_kind::integer: return integer_answer(static_cast<std::int64_t>(query.evaluate_number(document)));
            case answer_kind::text: return query.evaluate_string(document);
            case answer_kind::nodes: break;
        }
        pugi::xpath_node_set nodes = query.evaluate_node_set(document);
        std::string first_id = nodes.empty() ? "" : nodes.first().node().attribute("id").value();
        return nodes_answer(static_cast<std::int64_t>(nodes.size()), first_id);
    }

private:
    std::map<std::string, std::unique_ptr<pugi::xml_document>> documents_;
};

}  // namespace

std::unique_ptr<engine> make_pugixml_engine() {
    return std::make_unique<pugixml_engine>();
}

}  // namespace side_by_side
