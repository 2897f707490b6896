#pragma once

// Only a regular file is read as the user's input: a directory opens as a stream that reads as empty, which
// would pass for an empty script or log, and a device or a pipe may read without end.

#include <optional>
#include <string>

// Why the name at path is no regular file ("no such file", "not a regular file"), or nothing.
std::optional<std::string> whyNoRegularFile(const std::string& path);
