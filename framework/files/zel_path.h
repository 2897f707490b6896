#pragma once

// Path names of the module: ZelString values with "\" as the separator. Only normalize and directory also
// take "/" as one; the platform's file calls map "\" to the system's separator, so every path the module
// builds round-trips. Pure functions of their arguments, except tempDirectory, which asks the host.

#include <string>
#include <string_view>

#include "basic_types/zel_string.h"

namespace ZelPath {

// In place: "//c/rest" (two slashes, a drive letter, a slash) becomes "c:\rest"; every "/" becomes "\"; and
// trailing "\" are removed while more than one character remains.
void normalize(ZelString& path);
// The same on text held by the C heap, for callers that must not depend on the pool.
void normalize(std::u16string& path);
// A drive name ("c:") with "\" appended; any other path unchanged.
ZelString directoryForm(const ZelString& path);
// In place: name after a "\" (added unless the path already ends with one), then normalised. An empty path
// becomes name.
void append(ZelString& path, const ZelString& name);
void append(std::u16string& path, std::u16string_view name);
// The part before the last "\" or "/"; "." when there is none; "\" when the only separator is the first
// character.
ZelString directory(const ZelString& path);
// The part after the last "\"; the whole path when there is none.
ZelString fileName(const ZelString& path);
// In place: the extension (from the last "." after the last "\") is replaced by ext, with a "." put before it
// unless ext has one. An empty ext only removes the extension.
void setExtension(ZelString& path, const ZelString& ext);
// In place: suffix goes before the extension, or at the end when there is none.
void addSuffix(ZelString& path, const ZelString& suffix);
// A normalised path as the user writes paths: with "/" as the separator when the path the user gave (the
// one it was made from) has "/" and no "\"; otherwise unchanged. What the user is told names a file in the
// user's own form; the module's form is for the module's own use.
ZelString inSeparatorsOf(const ZelString& normalised, const ZelString& given);
// The host's temporary directory (the directory service's "temp"), or an empty string when the host has no
// directory service. The service is kept once found. Safe on any thread.
ZelString tempDirectory();

}  // namespace ZelPath
