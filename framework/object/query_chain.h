#pragma once

// The query-by-name protocol every class follows, as one chain of steps:
//
//   void Foo::queryInterface(const char* name, void** out, bool) {
//     QueryChain(name, out).classLeaf("Foo", this, this).offer<IBar>(this).offer<IBaz>(this).end();
//   }
//
// The class leaf answers the class name (the object itself) and "IZelUnknown"; each offer answers one
// interface; the first match wins and later steps do nothing. A base class with a chain of its own
// contributes it at its place by running its steps on the same chain; when it comes last its end step is the
// class's end. With a null name, out is the caller's InterfaceNameCollector and every step adds its name to
// it instead.

#include <cstdint>
#include <cstring>

#include "host_api/interface_name_collector.h"
#include "host_api/zel_unknown.h"

class QueryChain {
 public:
  QueryChain(const char* name, void** out) : name_(name), out_(out) {}

  QueryChain& classLeaf(const char* className, void* primary, IZelUnknown* unknown) {
    if (!name_) {
      addInterfaceName(className, 1, collector());
      return *this;
    }
    if (matched_) return *this;
    *out_ = nullptr;
    if (std::strcmp(name_, className) == 0) {
      *out_ = primary;
    } else if (std::strcmp(name_, IZelUnknown::interfaceName) == 0) {
      *out_ = unknown;
    }
    matched_ = *out_ != nullptr;
    return *this;
  }

  template <class Interface>
  QueryChain& offer(Interface* part) {
    if (!name_) {
      addInterfaceName(Interface::interfaceName, 0, collector());
      return *this;
    }
    if (!matched_ && std::strcmp(name_, Interface::interfaceName) == 0) {
      *out_ = part;
      matched_ = true;
    }
    return *this;
  }

  // Closes the class's scope in a collection; answers whether the query matched.
  bool end() {
    if (!name_) {
      endInterfaceClass(collector());
      return false;
    }
    return matched_;
  }

 private:
  InterfaceNameCollector* collector() const { return reinterpret_cast<InterfaceNameCollector*>(out_); }

  const char* name_;
  void** out_;
  bool matched_ = false;
};
