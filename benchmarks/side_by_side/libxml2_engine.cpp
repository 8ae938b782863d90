// libxml2 as a peer in the side-by-side benchmark, used through its public
// interface only: one XPath context per document, made when it is loaded;
// every evaluation compiles and evaluates the expression text.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include "engines.hpp"

namespace side_by_side {
namespace {

struct loaded_document {
    xmlDocPtr document = nullptr;
    xmlXPathContextPtr context = nullptr;
    ~loaded_document() {
        if (context) xmlXPathFreeContext(context);
        if (document) xmlFreeDoc(document);
    }
};

const xmlChar* as_xml(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

class libxml2_engine : public engine {
public:
    libxml2_engine() { xmlInitParser(); }

    const char* name() const override { return "libxml2"; }

    void load(const std::string& key, const std::string& xml) override {
        auto loaded = std::make_unique<loaded_document>();
        loaded->document = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "memory.xml", nullptr, 0);
        loaded->context = xmlXPathNewContext(loaded->document);
        documents_[key] = std::move(loaded);
    }

    std::int64_t evaluate(const workload& w) override {
        xmlXPathObjectPtr result = xmlXPathEvalExpression(as_xml(w.expression), documents_.at(w.document)->context);
        std::int64_t digest = 0;
        if (result) {
            if (w.kind == answer_kind::integer) digest = static_cast<std::int64_t>(xmlXPathCastToNumber(result));
            if (w.kind == answer_kind::nodes) digest = result->nodesetval ? result->nodesetval->nodeNr : 0;
            if (w.kind == answer_kind::text) {
                xmlChar* text = xmlXPathCastToString(result);
                digest = xmlStrlen(text);
                xmlFree(text);
            }
            xmlXPathFreeObject(result);
        }
        return digest;
    }

    std::string answer(const workload& w) override {
        xmlXPathObjectPtr result = xmlXPathEvalExpression(as_xml(w.expression), documents_.at(w.document)->context);
        if (!result) return "failed";
        std::string described;
        if (w.kind == answer_kind::integer) described = integer_answer(static_cast<std::int64_t>(xmlXPathCastToNumber(result)));
        if (w.kind == answer_kind::text) {
            xmlChar* text = xmlXPathCastToString(result);
            described = reinterpret_cast<const char*>(text);
            xmlFree(text);
        }
        if (w.kind == answer_kind::nodes) {
            std::int64_t count = result->nodesetval ? result->nodesetval->nodeNr : 0;
            std::string first_id;
            if (count > 0) {
                xmlChar* id = xmlGetProp(result->nodesetval->nodeTab[0], as_xml("id"));
                if (id) first_id = reinterpret_cast<const char*>(id);
                xmlFree(id);
            }
            described = nodes_answer(count, first_id);
        }
        xmlXPathFreeObject(result);
        return described;
    }

private:
    std::map<std::string, std::unique_ptr<loaded_document>> documents_;
};

}  // namespace

std::unique_ptr<engine> make_libxml2_engine() {
    return std::make_unique<libxml2_engine>();
}

}  // namespace side_by_side
