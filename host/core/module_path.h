#pragma once

// The host hands the module paths in the module's form: UTF-16 with backslash as separator. The module's
// platform file calls turn them back.

#include <string>

#include "basic_types/zel_string.h"

// A host (UTF-8, POSIX) path in the module's form.
ZelString modulePathOf(const std::string& hostPath);
