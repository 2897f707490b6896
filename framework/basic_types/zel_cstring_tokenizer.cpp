#include "basic_types/zel_cstring_tokenizer.h"

ZelCStringTokenizer::ZelCStringTokenizer(const ZelCString& source, char separator, bool trim)
    : source_(&source), separator_(separator), trim_(trim), end_(source.length()) {}

bool ZelCStringTokenizer::next() {
  if (position_ >= end_) return false;
  const char separator[2] = {separator_, '\0'};
  int32_t found = separator_ ? source_->find(separator, position_) : -1;
  if (found >= 0) {
    token_ = source_->mid(position_, found - position_);
    position_ = found + 1;
  } else {
    token_ = source_->mid(position_, end_ - position_);
    position_ = end_;
  }
  if (trim_) token_ = token_.trimmed();
  return true;
}
