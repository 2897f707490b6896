#pragma once

// What the XML reader under the DOM lets through of the references in a text, and a document must not
// hold: a character reference to a code point that is no XML character (&#0; would end the text there,
// unseen), one without its ";", and a reference to an entity no document here can define (it would stay
// in the text as its literal name). An "&" that begins no reference ("A & B") the reader keeps as itself,
// and so does this check. Comments, CDATA sections and processing instructions hold no references and are
// passed over.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct BadReference {
  std::string reason;  // "Undefined entity &deg;"
  size_t offset;       // of its "&", in units of the text
};

// The first reference that makes the text not well-formed, or nothing.
std::optional<BadReference> badReference(std::string_view text);
std::optional<BadReference> badReference(std::u16string_view text);
