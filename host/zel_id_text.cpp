#include "host/zel_id_text.h"

#include <cstdio>

std::string canonicalText(const ZelID& id) {
  char text[37];
  std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", id.data1, id.data2,
                id.data3, id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5],
                id.data4[6], id.data4[7]);
  return text;
}
