#include "host/core/xml_dom.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>

#include "framework/object/query_chain.h"
#include "host/core/xml_references.h"
#include "platform/ascii_text.h"
#include "platform/file.h"
#include "platform/utf8.h"

namespace {

std::string utf8(const ZelString& text) {
  return platform::toUtf8(text.c_str());
}

// Sets out to the UTF-16 form of the UTF-8 text. ASCII text, nearly all a document holds, is widened straight
// into out; a text too long for a string takes the general way, which refuses it.
void assignWide(ZelString& out, const char* text) {
  size_t n = 0;
  while (static_cast<unsigned char>(text[n]) - 1u < 0x7Fu) ++n;
  if (text[n] || n > static_cast<size_t>(INT32_MAX)) {
    out.setBuffer(platform::fromUtf8(text).c_str(), -1);
  } else {
    out.setNarrow(text, static_cast<int32_t>(n));
  }
}

// Collects what pugixml prints, in UTF-8.
struct Utf8Writer : pugi::xml_writer {
  void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  std::string text;
};

// A buffer from pugixml's allocator, until a document takes it over.
struct PugiFree {
  void operator()(char* buffer) const { pugi::get_memory_deallocation_function()(buffer); }
};
using PugiBuffer = std::unique_ptr<char, PugiFree>;

// ASCII text, which nearly every document is, narrowed into a zero-ended buffer a document can own; null for
// other text, and when there is no memory for the buffer (pugixml's own conversion then fails as well, as a
// parse out of memory).
PugiBuffer narrowAscii(const ZelString& text, size_t units) {
  PugiBuffer narrow(static_cast<char*>(pugi::get_memory_allocation_function()(units + 1)));
  if (!narrow || !platform::narrowAscii(text.c_str(), units, narrow.get())) return nullptr;
  narrow.get()[units] = 0;
  return narrow;
}

bool isText(pugi::xml_node_type type) {
  return type == pugi::node_pcdata || type == pugi::node_cdata;
}

XmlDomElement* elementOf(IZelDOMXmlElement* element) {
  void* part = nullptr;
  if (element) element->queryInterface(XmlDomElement::interfaceName, &part, false);
  return static_cast<XmlDomElement*>(part);
}

// A document holds one element at its top; a fragment may hold none, a second one, and character data beside
// it.
bool hasOneTopElement(const pugi::xml_document& document) {
  int elements = 0;
  for (pugi::xml_node node : document.children()) {
    if (node.type() == pugi::node_element) ++elements;
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return false;
  }
  return elements == 1;
}

LineStarts lineStartsOf(const std::string& bytes) {
  LineStarts starts{0};
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
    starts.push_back(static_cast<ptrdiff_t>(at + 1));
  }
  return starts;
}

}  // namespace

XmlDomElementItr::XmlDomElementItr(pugi::xml_node parent, const LineStarts* lineStarts)
    : parent_(parent), lineStarts_(lineStarts) {}

XmlDomElementItr::~XmlDomElementItr() = default;

void XmlDomElementItr::restart(pugi::xml_node parent) {
  parent_ = parent;
  positioned_ = false;
}

// Each step asks a node its type alone: the null node's is neither an element's nor any other node's.
void XmlDomElementItr::standOn(pugi::xml_node node) {
  pugi::xml_node_type type = node.type();
  while (type != pugi::node_element && type != pugi::node_null) {
    node = node.next_sibling();
    type = node.type();
  }
  current_ = node;
  atEnd_ = type == pugi::node_null;
  positioned_ = true;
  shown_ = false;
}

void XmlDomElementItr::first() {
  standOn(parent_.first_child());
}

void XmlDomElementItr::next() {
  position();
  if (!atEnd_) standOn(current_.next_sibling());
}

bool XmlDomElementItr::atEnd() {
  position();
  return atEnd_;
}

IZelDOMXmlElement* XmlDomElementItr::current() {
  position();
  if (atEnd_) return nullptr;
  if (!view_ || view_->refCount() > 1) {
    view_ = IPtr<XmlDomElement>(new XmlDomElement(current_, lineStarts_));
  } else if (!shown_) {
    view_->show(current_);
  }
  shown_ = true;
  return view_.get();
}

void XmlDomElementItr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDOMXmlElementItr>(this).end();
}

XmlDomElement::XmlDomElement(pugi::xml_node node, const LineStarts* lineStarts)
    : node_(node), lineStarts_(lineStarts) {}

XmlDomElement::~XmlDomElement() = default;

void XmlDomElement::show(pugi::xml_node node) {
  node_ = node;
  found_.clear();
}

void XmlDomElement::tagName(ZelString& out) {
  assignWide(out, node_.name());
}

void XmlDomElement::attribute(ZelString& out, const ZelString& name) {
  assignWide(out, node_.attribute(utf8(name).c_str()).value());
}

void XmlDomElement::text(ZelString& out) {
  pugi::xml_node child = node_.first_child();
  pugi::xml_node_type type = child.type();
  while (type != pugi::node_null && !isText(type)) {
    child = child.next_sibling();
    type = child.type();
  }
  // A parsed element's text is nearly always its value alone.
  if (type == pugi::node_null) {
    assignWide(out, node_.value());
    return;
  }
  std::string joined = node_.value();
  for (; child; child = child.next_sibling()) {
    if (isText(child.type())) joined += child.value();
  }
  assignWide(out, joined.c_str());
}

IZelDOMXmlElement* XmlDomElement::firstChild(const ZelString& tag) {
  pugi::xml_node child = node_.child(utf8(tag).c_str());
  if (!child) return nullptr;
  auto known =
      std::find_if(found_.begin(), found_.end(), [&](const auto& view) { return view->node() == child; });
  if (known != found_.end()) return known->get();
  found_.emplace_back(new XmlDomElement(child, lineStarts_));
  return found_.back().get();
}

IZelDOMXmlElementItr* XmlDomElement::children() {
  if (walker_ && walker_->refCount() == 1) {
    walker_->restart(node_);
  } else {
    walker_ = IPtr<XmlDomElementItr>(new XmlDomElementItr(node_, lineStarts_));
  }
  walker_->addRef();
  return walker_.get();
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
  XmlDomElement* element = elementOf(child);
  if (!element || element == this || element->node_.root() != node_.root()) return false;
  return bool(node_.append_move(element->node_));
}

int32_t XmlDomElement::line() {
  const LineStarts& starts = *lineStarts_;
  ptrdiff_t offset = node_.offset_debug();
  if (starts.empty() || offset < 0) return 0;
  return static_cast<int32_t>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin());
}

void XmlDomElement::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelDOMXmlElement>(this).end();
}

void XmlDomDocument::serialize(ZelString& out) {
  out = ZelString();
  if (!root_) return;
  Utf8Writer writer;
  root_->node().print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  if (!writer.text.empty()) assignWide(out, writer.text.c_str());
}

IZelDOMXmlElement* XmlDomDocument::createElement(const ZelString& name) {
  // A new element waits at the top of the document until it is made the root or moved under another.
  auto* element = new XmlDomElement(document_.append_child(utf8(name).c_str()), &lineStarts_);
  element->addRef();
  return element;
}

bool XmlDomDocument::setRootElement(IZelDOMXmlElement* element) {
  XmlDomElement* chosen = elementOf(element);
  if (!chosen || chosen->node().root() != document_) return false;
  root_ = chosen;
  return true;
}

bool XmlDomDocument::parse(const ZelString& text) {
  root_.release();
  lineStarts_.clear();
  auto units = static_cast<size_t>(text.length());
  // The text is converted once: narrowed into the buffer the document parses in place and keeps, or, when it
  // is not ASCII, by pugixml itself. The references are checked in the narrow form, whose units are the
  // text's. The buffer is parsed with its ending zero, which a fragment's trailing text would otherwise lose
  // its last character to.
  PugiBuffer narrow = narrowAscii(text, units);
  std::optional<BadReference> bad = narrow ? badReference(std::string_view(narrow.get(), units))
                                           : badReference(std::u16string_view(text.c_str(), units));
  if (bad) return refuse(bad->reason + " (at character " + std::to_string(bad->offset) + ")");
  if (!narrow) {
    return settle(document_.load_buffer(text.c_str(), units * sizeof(char16_t), kXmlDomParseOptions,
                                        pugi::encoding_utf16),
                  "");
  }
  return settle(document_.load_buffer_inplace_own(narrow.release(), units + 1, kXmlDomParseOptions,
                                                  pugi::encoding_utf8),
                "");
}

bool XmlDomDocument::load(const ZelString& path) {
  root_.release();
  lineStarts_.clear();
  const std::string file = platform::systemPath(path.c_str());
  // A directory opens as a file would, and claims a size of its own; only a regular file is a document.
  switch (platform::fileKind(path.c_str())) {
    case platform::FileKind::kMissing:
      return refuse("File was not found: " + file);
    case platform::FileKind::kOther:
      return refuse("Not a regular file: " + file);
    case platform::FileKind::kRegular:
      break;
  }
  std::ifstream stream(file, std::ios_base::binary);
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (!stream.is_open() || stream.bad()) return refuse("Could not read the file: " + file);
  pugi::xml_parse_result result = document_.load_buffer(bytes.data(), bytes.size(), kXmlDomParseOptions);
  if (!settle(result, ": " + file)) return false;
  // Offsets into text converted from another encoding are not the file's: its references go unchecked.
  if (result.encoding != pugi::encoding_utf8) return true;
  if (std::optional<BadReference> bad = badReference(bytes)) {
    return refuse(bad->reason + ": " + file + " (at byte " + std::to_string(bad->offset) + ")");
  }
  lineStarts_ = lineStartsOf(bytes);
  return true;
}

bool XmlDomDocument::settle(const pugi::xml_parse_result& result, const std::string& where) {
  // Memory running out says nothing of the text: it fails as any allocation does, not as a malformed text.
  if (result.status == pugi::status_out_of_memory) {
    refuse("Out of memory" + where);
    throw std::bad_alloc();
  }
  if (!result) {
    return refuse(result.description() + where + " (at byte " + std::to_string(result.offset) + ")");
  }
  if (!document_.first_child()) return refuse("No document element found" + where);
  if (!hasOneTopElement(document_)) {
    return refuse("Text or a second element beside the document element" + where);
  }
  error_.clear();
  root_ = IPtr<XmlDomElement>(new XmlDomElement(document_.document_element(), &lineStarts_));
  return true;
}

bool XmlDomDocument::refuse(const std::string& reason) {
  root_.release();
  error_ = reason;
  document_.reset();
  return false;
}

ZelString XmlDomDocument::errorText() {
  ZelString text;
  assignWide(text, error_.c_str());
  return text;
}

void XmlDomDocument::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(static_cast<IZelDOMXml*>(this)))
      .offer<IZelDOMXml>(this)
      .offer<IZelDOMXmlV2>(this)
      .offer<IZelDOMXmlError>(this)
      .end();
}
