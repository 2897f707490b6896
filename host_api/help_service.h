#pragma once

// The host's context help: a command names the topic its operator is working on, so that the help shown
// follows what the operator does.

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class IHelpServiceV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IHelpServiceV2";

  // Makes topic the current help topic; with show, the help follows it at once.
  virtual void setTopic(const ZelCString& topic, bool show) = 0;
};
