#pragma once

// The host's XML DOM. "IZelDOMXml" builds and parses documents held in memory (the device-event log);
// "IZelDOMXmlV2" reads a document from a file (the materials library). Each lookup of either service hands
// out a fresh document, so a worker thread never shares one. Element and attribute names are compared
// exactly.

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelDOMXmlElement;

// Walks the child elements of an element in document order.
class IZelDOMXmlElementItr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDOMXmlElementItr";

  virtual void first() = 0;
  virtual void next() = 0;
  virtual bool atEnd() = 0;
  // The element under the iterator (no reference for the caller), or null at the end.
  virtual IZelDOMXmlElement* current() = 0;
};

// An element handed out without a reference is valid while whatever handed it out still shows it: the root
// while the document holds it, a firstChild answer while the element asked is, an iterator's element until
// the iterator moves or is released. A reference on an element keeps it, never beyond its document.
class IZelDOMXmlElement : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDOMXmlElement";

  virtual void tagName(ZelString& out) = 0;
  // Leaves out empty when the attribute is missing.
  virtual void attribute(ZelString& out, const ZelString& name) = 0;
  // The element's own text (the concatenated text children).
  virtual void text(ZelString& out) = 0;
  // The first child element with that tag (no reference for the caller), or null.
  virtual IZelDOMXmlElement* firstChild(const ZelString& tag) = 0;
  // An iterator over the child elements, positioned at the first; the caller holds a reference on it.
  virtual IZelDOMXmlElementItr* children() = 0;
  // Attributes and children come out in the order they were added; setting an attribute again replaces it.
  virtual void setAttribute(const ZelString& name, const ZelString& value) = 0;
  virtual void setText(const ZelString& text) = 0;
  // Moves a new element of the same document under this one, as its last child.
  virtual bool appendChild(IZelDOMXmlElement* child) = 0;
  // The line of a loaded file on which the element begins, counted from 1; 0 when it is not known (an
  // element of a parsed text, or one built in memory).
  virtual int32_t line() = 0;
};

class IZelDOMXml : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDOMXml";

  // The XML text of the document's root element, without an XML declaration.
  virtual void serialize(ZelString& out) = 0;
  // A new element of this document, not yet in its tree; the caller holds a reference on it.
  virtual IZelDOMXmlElement* createElement(const ZelString& name) = 0;
  // Makes the element the document's only element, replacing what the document held.
  virtual bool setRootElement(IZelDOMXmlElement* element) = 0;
  // Replaces the document by the parsed text; false (and an empty document) when it is not well-formed,
  // which a second top-level element or top-level text is not, nor a reference to no XML character (&#0;)
  // or to an undefined entity. Throws std::bad_alloc when memory runs out, as any allocation does.
  virtual bool parse(const ZelString& text) = 0;
  // The root element (no reference for the caller), or null.
  virtual IZelDOMXmlElement* rootElement() = 0;
};

class IZelDOMXmlError : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDOMXmlError";
  virtual ZelString errorText() = 0;
};

class IZelDOMXmlV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDOMXmlV2";

  // Reads the file; false when it is missing, not a regular file, or not well-formed (as for parse), with the
  // reason in lastError. Throws std::bad_alloc as parse does.
  virtual bool load(const ZelString& path) = 0;
  virtual IZelDOMXmlElement* rootElement() = 0;
  // The error of the last failed load (no reference for the caller); its text is empty after a success.
  virtual IZelDOMXmlError* lastError() = 0;
};
