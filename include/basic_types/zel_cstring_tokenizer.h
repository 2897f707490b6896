#pragma once

// ZelCStringTokenizer: walks a narrow text token by token, a token ending at the separator character or at
// the end of the text. Empty tokens between two separators come back as empty strings; a separator at the
// very end ends the walk. The source must outlive the tokenizer. One thread at a time.

#include <cstdint>

#include "basic_types/zel_cstring.h"

class ZelCStringTokenizer {
 public:
  // trim: each token without leading and trailing white space.
  ZelCStringTokenizer(const ZelCString& source, char separator, bool trim);

  // Moves to the next token; false, leaving the token as it was, once the text is used up.
  bool next();
  const ZelCString& token() const { return token_; }

 private:
  const ZelCString* source_;
  ZelCString token_;
  char separator_;
  bool trim_;
  int32_t position_ = 0;  // where the next token starts
  int32_t end_;           // the end of the text
};
