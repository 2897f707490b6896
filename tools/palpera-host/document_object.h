#pragma once

// The document's objects as a script names them, as the host finds them: by the name the object is registered
// under ("TestObject"), else by its own name, the first object of that name.

#include <string>

#include "framework/object/iptr.h"
#include "host_session.h"

// Throws ScriptError when the document has no object of that name.
IPtr<HostDocObject> objectNamed(HostDocument& doc, const std::string& name);
