#pragma once

// The feature statistics carry 3.4e38 while they have not been computed; FLT_MAX is a real bound, not this.
inline bool isNotComputed(double value) {
  return value >= 3.399e38 && value <= 3.401e38;
}
