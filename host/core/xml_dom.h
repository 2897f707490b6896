#pragma once

// The stand-in host's XML DOM: thin views over a pugixml document; one document object serves both document
// interfaces. Texts cross as UTF-16 and are held as UTF-8: a parse converts its text once, a read converts
// what it answers. A document belongs to the thread that looked it up, and so do its elements and iterators,
// which count their references without atomic operations.
//
// An element object is a view of one node, kept by whatever handed it out: the document keeps its root's, a
// view the children its firstChild found, an iterator the one under it, which it turns to the next child
// unless someone else holds a reference on it. A view also keeps the iterator its children handed out, and
// hands it out again once its caller has let go of it. So walking a large document makes a view and an
// iterator per level of depth, not per node.

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "framework/object/iptr.h"
#include "host/core/thread_bound_unknown.h"
#include "host_api/xml_dom.h"

class XmlDomElement;

// How the document parses a text: an element's first text is kept in the element itself (its value) rather
// than in a child node of its own, since a log is mostly numbers and a node per number would double the
// memory of its tree; and the text is read as a fragment, the only way pugixml keeps character data beside
// the document element rather than dropping it unseen (a parse then refuses whatever is not one element).
inline constexpr unsigned kXmlDomParseOptions =
    pugi::parse_default | pugi::parse_embed_pcdata | pugi::parse_fragment;

// The offset of each line's first byte in a loaded UTF-8 file; empty for a parsed or built document. The
// document keeps it; every view of the document points at it.
using LineStarts = std::vector<ptrdiff_t>;

class XmlDomElementItr final : public IZelDOMXmlElementItr, public ThreadBoundUnknown {
 public:
  static constexpr const char* interfaceName = "XmlDomElementItr";

  XmlDomElementItr(pugi::xml_node parent, const LineStarts* lineStarts);
  ~XmlDomElementItr() override;

  // Walks the children of parent from the first, as a new iterator would.
  void restart(pugi::xml_node parent);

  void first() override;
  void next() override;
  bool atEnd() override;
  IZelDOMXmlElement* current() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Stands on the first element from node on, or at the end.
  void standOn(pugi::xml_node node);
  // A new or restarted iterator finds its first element when it is first used: a walk nearly always begins
  // with first(), which would otherwise look for it twice.
  void position() {
    if (!positioned_) first();
  }

  pugi::xml_node parent_;
  pugi::xml_node current_;   // an element, or null at the end
  bool positioned_ = false;  // whether current_ and atEnd_ hold
  bool atEnd_ = true;        // whether current_ is null, known without asking pugixml
  bool shown_ = false;       // whether view_ shows current_
  const LineStarts* lineStarts_;
  IPtr<XmlDomElement> view_;
};

class XmlDomElement final : public IZelDOMXmlElement, public ThreadBoundUnknown {
 public:
  static constexpr const char* interfaceName = "XmlDomElement";

  XmlDomElement(pugi::xml_node node, const LineStarts* lineStarts);
  ~XmlDomElement() override;

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
  // Turns the view to another node, letting go of the children it found: for a view no one else holds.
  void show(pugi::xml_node node);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  pugi::xml_node node_;
  const LineStarts* lineStarts_;
  std::vector<IPtr<XmlDomElement>> found_;  // what firstChild handed out for node_
  IPtr<XmlDomElementItr> walker_;           // what children handed out last
};

class XmlDomDocument final : public IZelDOMXml,
                             public IZelDOMXmlV2,
                             public IZelDOMXmlError,
                             public ThreadBoundUnknown {
 public:
  static constexpr const char* interfaceName = "XmlDomDocument";

  void serialize(ZelString& out) override;
  IZelDOMXmlElement* createElement(const ZelString& name) override;
  bool setRootElement(IZelDOMXmlElement* element) override;
  bool parse(const ZelString& text) override;
  IZelDOMXmlElement* rootElement() override { return root_.get(); }
  bool load(const ZelString& path) override;
  IZelDOMXmlError* lastError() override { return this; }
  ZelString errorText() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Takes the outcome of a parse or load: the document's element becomes the root, or the document is
  // emptied with the reason kept (where names the file, if any).
  bool settle(const pugi::xml_parse_result& result, const std::string& where);
  bool refuse(const std::string& reason);

  pugi::xml_document document_;
  LineStarts lineStarts_;
  IPtr<XmlDomElement> root_;
  std::string error_;  // UTF-8; empty after a success
};
