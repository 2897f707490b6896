#include "host/core/zel_id_text.h"

#include <cstdio>

std::string canonicalText(const ZelID& id) {
  char text[37];
  std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", id.data1, id.data2,
                id.data3, id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5],
                id.data4[6], id.data4[7]);
  return text;
}

std::string registryText(const ZelID& id) {
  char text[80];
  std::snprintf(text, sizeof text,
                "0x%08x,0x%04x,0x%04x,0x%02x,0x%02x,0x%02x,0x%02x,0x%02x,0x%02x,0x%02x,0x%02x", id.data1,
                id.data2, id.data3, id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4],
                id.data4[5], id.data4[6], id.data4[7]);
  return text;
}

ZelID idFromCanonicalText(const std::string& text) {
  ZelID id;
  unsigned int d1 = 0, d2 = 0, d3 = 0, b[8] = {};
  int consumed = 0;
  int fields = std::sscanf(text.c_str(), "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x%n", &d1, &d2, &d3, &b[0],
                           &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &consumed);
  if (fields != 11 || consumed != 36 || text.size() != 36) return id;
  id.data1 = d1;
  id.data2 = static_cast<uint16_t>(d2);
  id.data3 = static_cast<uint16_t>(d3);
  for (int i = 0; i < 8; ++i) id.data4[i] = static_cast<uint8_t>(b[i]);
  return id;
}
