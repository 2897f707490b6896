#pragma once

// The stand-in host's XML DOM over pugixml: one object serves both document interfaces. Texts cross as UTF-16
// and are held as UTF-8. A document belongs to the thread that looked it up.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host/api/xml_dom.h"

class XmlDomElement;

// The parsed tree and the element objects handed out for its nodes, one per node.
struct XmlTree {
  pugi::xml_document document;
  pugi::xml_node root;  // the document's element, once one is set or parsed
  std::map<pugi::xml_node_struct*, IPtr<XmlDomElement>> elements;
  // The offset of each line's first byte in a loaded UTF-8 file; empty for a parsed or built document.
  std::vector<ptrdiff_t> lineStarts;

  XmlDomElement* elementOf(pugi::xml_node node);
};

class XmlDomElement : public IZelDOMXmlElement, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "XmlDomElement";

  XmlDomElement(XmlTree* tree, pugi::xml_node node) : tree_(tree), node_(node) {}

  void tagName(ZelString& out) override;
  void attribute(ZelString& out, const ZelString& name) override;
  void text(ZelString& out) override;
  IZelDOMXmlElement* firstChild(const ZelString& tag) override;
  IZelDOMXmlElementItr* children() override;
  void setAttribute(const ZelString& name, const ZelString& value) override;
  void setText(const ZelString& text) override;
  bool appendChild(IZelDOMXmlElement* child) override;
  int32_t line() override;

  pugi::xml_node node() const { return node_; }
  XmlTree* tree() const { return tree_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  XmlTree* tree_;  // owned by the document, which outlives its elements' use
  pugi::xml_node node_;
};

class XmlDomDocument : public IZelDOMXml, public IZelDOMXmlV2, public IZelDOMXmlError, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "XmlDomDocument";

  XmlDomDocument();

  void serialize(ZelString& out) override;
  IZelDOMXmlElement* createElement(const ZelString& name) override;
  bool setRootElement(IZelDOMXmlElement* element) override;
  bool parse(const ZelString& text) override;
  IZelDOMXmlElement* rootElement() override;
  bool load(const ZelString& path) override;
  IZelDOMXmlError* lastError() override { return this; }
  ZelString errorText() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void reset();
  // Takes a parse's result; false, with the reason kept, for a document that is not well-formed.
  bool accept(const pugi::xml_parse_result& result, const std::string& where);

  std::unique_ptr<XmlTree> tree_;
  std::string error_;  // UTF-8; empty after a success
};
