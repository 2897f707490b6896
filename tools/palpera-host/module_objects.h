#pragma once

// Objects of the module's classes, made by class name as the host makes them: through its root, by the
// class id the module's registry gives that name.

#include <string>

#include "framework/object/iptr.h"
#include "host_session.h"

// The object's part answering interfaceName, without a reference. Throws ScriptError for a class the module
// does not register and for one whose objects do not answer that interface.
void* createModulePart(HostSession& session, const std::string& className, const char* interfaceName);

template <class T>
IPtr<T> createModuleObject(HostSession& session, const std::string& className) {
  return IPtr<T>(static_cast<T*>(createModulePart(session, className, T::interfaceName)));
}
