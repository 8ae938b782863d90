// The project's engine in the side-by-side benchmark: one path_evaluator per
// evaluation, over TinyXML documents; integers through evaluate_int, as the
// launcher asks for them.
#include <tinyxml.h>

#include "engines.hpp"
#include "evaluation/path_evaluator.hpp"

namespace side_by_side {
namespace {

class project_engine : public engine {
public:
    const char* name() const override { return "project"; }

    void load(const std::string& key, const std::string& xml) override {
        auto document = std::make_unique<TiXmlDocument>();
        document->Parse(xml.c_str());
        documents_[key] = std::move(document);
    }

    std::int64_t evaluate(const workload& w) override {
        TiXmlElement* root = documents_.at(w.document)->RootElement();
        if (w.kind == answer_kind::integer) {
            std::int32_t value = 0;
            xpath::evaluate_int(root, w.expression.c_str(), &value);
            return value;
        }
        xpath::path_evaluator evaluator(root, w.expression.c_str());
        xpath::path_value result = evaluator.evaluate();
        if (w.kind == answer_kind::nodes) return result.nodes.count();
        return static_cast<std::int64_t>(result.to_string().size());
    }

    std::string answer(const workload& w) override {
        TiXmlElement* root = documents_.at(w.document)->RootElement();
        if (w.kind == answer_kind::integer) {
            std::int32_t value = 0;
            if (!xpath::evaluate_int(root, w.expression.c_str(), &value)) return "failed";
            return integer_answer(value);
        }
        xpath::path_evaluator evaluator(root, w.expression.c_str());
        xpath::path_value result = evaluator.evaluate();
        if (evaluator.status() != xpath::eval_status::status_ok) return "failed";
        if (w.kind == answer_kind::text) return result.to_string();
        if (result.kind != xpath::value_kind::kind_nodes) return "not a node-set";
        xpath::node_collection& nodes = result.nodes;
        nodes.sort_document_order();
        std::string first_id;
        if (nodes.count() > 0 && !nodes.is_attribute(0) && nodes.node_at(0)->ToElement())
            if (const char* id = nodes.node_at(0)->ToElement()->Attribute("id")) first_id = id;
        return nodes_answer(nodes.count(), first_id);
    }

private:
    std::map<std::string, std::unique_ptr<TiXmlDocument>> documents_;
};

}  // namespace

std::unique_ptr<engine> make_project_engine() {
    return std::make_unique<project_engine>();
}

}  // namespace side_by_side
