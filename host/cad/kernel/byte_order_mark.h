#pragma once

#include <istream>

// An editor that saves a STEP file as UTF-8 may put a byte order mark before its first keyword; the kernel's
// reader and the keyword check would take it for text of the file. Moves the stream in past the mark when it
// starts with one, and leaves it at the start otherwise.
void skipByteOrderMark(std::istream& in);
