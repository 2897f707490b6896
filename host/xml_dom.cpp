#include "host/xml_dom.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "framework/object/query_chain.h"
#include "platform/file.h"
#include "platform/utf8.h"

namespace {

std::string utf8(const ZelString& text) {
  return platform::toUtf8(text.c_str());
}

ZelString wide(const char* text) {
  std::u16string converted = platform::fromUtf8(text ? text : "");
  ZelString out;
  out.setBuffer(converted.c_str(), -1);
  return out;
}

// Walks the child elements of one node, skipping text and other nodes.
class XmlDomElementItr : public IZelDOMXmlElementItr, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "XmlDomElementItr";

  XmlDomElementItr(XmlTree* tree, pugi::xml_node parent) : tree_(tree), parent_(parent) { first(); }

  void first() override { current_ = skipToElement(parent_.first_child()); }
  void next() override {
    if (current_) current_ = skipToElement(current_.next_sibling());
  }
  bool atEnd() override { return !current_; }
  IZelDOMXmlElement* current() override { return current_ ? tree_->elementOf(current_) : nullptr; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDOMXmlElementItr>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  static pugi::xml_node skipToElement(pugi::xml_node node) {
    while (node && node.type() != pugi::node_element) node = node.next_sibling();
    return node;
  }

  XmlTree* tree_;
  pugi::xml_node parent_;
  pugi::xml_node current_;
};

// A document holds one element at its top; pugixml also takes a second one, and character data beside it.
bool hasOneTopElement(const pugi::xml_document& document) {
  int elements = 0;
  for (pugi::xml_node node : document.children()) {
    if (node.type() == pugi::node_element) ++elements;
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return false;
  }
  return elements == 1;
}

std::vector<ptrdiff_t> lineStartsOf(const std::string& bytes) {
  std::vector<ptrdiff_t> starts{0};
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
    starts.push_back(static_cast<ptrdiff_t>(at + 1));
  }
  return starts;
}

}  // namespace

XmlDomElement* XmlTree::elementOf(pugi::xml_node node) {
  IPtr<XmlDomElement>& slot = elements[node.internal_object()];
  if (!slot) slot = IPtr<XmlDomElement>(new XmlDomElement(this, node));
  return slot.get();
}

void XmlDomElement::tagName(ZelString& out) {
  out = wide(node_.name());
}

void XmlDomElement::attribute(ZelString& out, const ZelString& name) {
  pugi::xml_attribute found = node_.attribute(utf8(name).c_str());
  out = found ? wide(found.value()) : ZelString();
}

void XmlDomElement::text(ZelString& out) {
  std::string joined;
  for (pugi::xml_node child : node_.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) joined += child.value();
  }
  out = wide(joined.c_str());
}

IZelDOMXmlElement* XmlDomElement::firstChild(const ZelString& tag) {
  pugi::xml_node child = node_.child(utf8(tag).c_str());
  return child ? tree_->elementOf(child) : nullptr;
}

IZelDOMXmlElementItr* XmlDomElement::children() {
  auto* iterator = new XmlDomElementItr(tree_, node_);
  iterator->addRef();
  return iterator;
}

void XmlDomElement::setAttribute(const ZelString& name, const ZelString& value) {
  std::string key = utf8(name);
  pugi::xml_attribute existing = node_.attribute(key.c_str());
  if (!existing) existing = node_.append_attribute(key.c_str());
  existing.set_value(utf8(value).c_str());
}

void XmlDomElement::setText(const ZelString& text) {
  node_.text().set(utf8(text).c_str());
}

bool XmlDomElement::appendChild(IZelDOMXmlElement* child) {
  void* part = nullptr;
  if (child) child->queryInterface(interfaceName, &part, false);
  auto* element = static_cast<XmlDomElement*>(part);
  if (!element || element->tree_ != tree_ || element == this) return false;
  element->node_ = node_.append_move(element->node_);
  return bool(element->node_);
}

int32_t XmlDomElement::line() {
  const std::vector<ptrdiff_t>& starts = tree_->lineStarts;
  ptrdiff_t offset = node_.offset_debug();
  if (starts.empty() || offset < 0) return 0;
  return static_cast<int32_t>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin());
}

void XmlDomElement::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDOMXmlElement>(this).end();
}

XmlDomDocument::XmlDomDocument() {
  reset();
}

void XmlDomDocument::reset() {
  tree_ = std::make_unique<XmlTree>();
}

void XmlDomDocument::serialize(ZelString& out) {
  if (!tree_->root) {
    out = ZelString();
    return;
  }
  std::ostringstream text;
  tree_->root.print(text, "", pugi::format_raw);
  out = wide(text.str().c_str());
}

IZelDOMXmlElement* XmlDomDocument::createElement(const ZelString& name) {
  // A new element waits at the top of the document until it is made the root or moved under another.
  pugi::xml_node node = tree_->document.append_child(utf8(name).c_str());
  XmlDomElement* element = tree_->elementOf(node);
  element->addRef();
  return element;
}

bool XmlDomDocument::setRootElement(IZelDOMXmlElement* element) {
  void* part = nullptr;
  if (element) element->queryInterface(XmlDomElement::interfaceName, &part, false);
  auto* chosen = static_cast<XmlDomElement*>(part);
  if (!chosen || chosen->tree() != tree_.get()) return false;
  tree_->root = chosen->node();
  return true;
}

bool XmlDomDocument::parse(const ZelString& text) {
  reset();
  std::string source = utf8(text);
  return accept(tree_->document.load_buffer(source.data(), source.size()), "");
}

IZelDOMXmlElement* XmlDomDocument::rootElement() {
  return tree_->root ? tree_->elementOf(tree_->root) : nullptr;
}

bool XmlDomDocument::load(const ZelString& path) {
  reset();
  const std::string file = platform::systemPath(path.c_str());
  // A directory opens as a file would, and claims a size of its own; only a regular file is a document.
  switch (platform::fileKind(path.c_str())) {
    case platform::FileKind::kMissing:
      error_ = "File was not found: " + file;
      return false;
    case platform::FileKind::kOther:
      error_ = "Not a regular file: " + file;
      return false;
    case platform::FileKind::kRegular:
      break;
  }
  std::ifstream stream(file, std::ios_base::binary);
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (!stream.is_open() || stream.bad()) {
    error_ = "Could not read the file: " + file;
    return false;
  }
  pugi::xml_parse_result result = tree_->document.load_buffer(bytes.data(), bytes.size());
  if (!accept(result, ": " + file)) return false;
  // Offsets into text converted from another encoding are not the file's: its lines stay unknown.
  if (result.encoding == pugi::encoding_utf8) tree_->lineStarts = lineStartsOf(bytes);
  return true;
}

bool XmlDomDocument::accept(const pugi::xml_parse_result& result, const std::string& where) {
  if (result && hasOneTopElement(tree_->document)) {
    error_.clear();
    tree_->root = tree_->document.document_element();
    return true;
  }
  error_ = result ? "Text or a second element beside the document element" + where
                  : result.description() + where + " (at byte " + std::to_string(result.offset) + ")";
  reset();
  return false;
}

ZelString XmlDomDocument::errorText() {
  return wide(error_.c_str());
}

void XmlDomDocument::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(static_cast<IZelDOMXml*>(this)))
      .offer<IZelDOMXml>(this)
      .offer<IZelDOMXmlV2>(this)
      .offer<IZelDOMXmlError>(this)
      .end();
}
