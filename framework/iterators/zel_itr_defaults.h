#pragma once

// Harmless defaults for every IZelItr operation (nothing done, false, 0, null), over the counting base
// Counting: the module's iterators take ZelUnknownImpl (through ZelItrBase), an iterator of the host its own
// counting. Interface is IZelItr or an iterator interface built on it. Only the hint is kept; advance clears
// the restart flag and steps with next. A concrete iterator overrides what it serves. Belongs to the host's
// main thread.

#include <cstdint>

#include "host_api/zel_itr.h"

template <class Counting, class Interface = IZelItr>
class ZelItrDefaults : public Interface, public Counting {
 public:
  void setHint(int32_t hint) override { hint_ = hint; }
  int32_t hint() override { return hint_; }
  void prepareArrays(int32_t) override {}
  void nodeCall4(int32_t, void* context) override { nodeCall5(context); }
  void nodeCall5(void*) override {}
  bool first(void*) override { return false; }
  bool advance(void* context, bool* restarted) override {
    if (restarted) *restarted = false;
    return next(context, restarted);
  }
  bool next(void*, bool*) override { return false; }
  bool nodeCall9() override { return false; }
  bool vertex(Vector3&) override { return false; }
  bool currentIndex(int32_t&) override { return false; }
  bool normal(Vector3&) override { return false; }
  bool texCoord(Vector3&) override { return false; }
  bool color(ColorRGBA&) override { return false; }
  IZelText* createTextNode() override { return nullptr; }
  bool text(ZelString&, double&, double&, double&) override { return false; }
  int32_t nodeCall17() override { return 0; }
  int32_t nodeCall18() override { return 0; }
  int32_t nodeCall19() override { return 0; }
  bool nodeCall20() override { return false; }
  void fillVertices(VertexArrayImp*) override {}
  void fillNormals(VertexArrayImp*) override {}
  void fillColors(VertexArrayImp*) override {}
  void fillTexCoords(VertexArrayImp*) override {}
  void nodeCall25() override {}
  void setFlagA(bool) override {}
  bool nodeCall27() override { return false; }
  bool setFlagB(bool) override { return false; }
  bool flagB() override { return false; }

 private:
  int32_t hint_ = 0;
};
