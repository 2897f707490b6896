#pragma once

// Texts the stand-in host keeps by narrow key, handed to the module as owned wide strings.

#include <map>
#include <string>

#include "basic_types/zel_string.h"

using HostTexts = std::map<std::string, std::u16string>;

// An owned copy of the text under key, or an empty string when there is none.
inline ZelString hostText(const HostTexts& texts, const char* key) {
  auto found = texts.find(key ? key : "");
  ZelString result;
  if (found != texts.end() && !found->second.empty()) {
    result.setBuffer(found->second.c_str(), static_cast<int32_t>(found->second.size()));
  }
  return result;
}
