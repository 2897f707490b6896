#pragma once

// Runs a host script: one action per line (see script_line.h for words and comments, and the usage for the
// actions). Every line is checked first (a known action with the number of words it takes), so a script
// with a wrong line does nothing at all; then the lines run in order. The module starts at the script's
// "start" line or, without one, before the first line. The first line that fails stops the script: its
// reason goes to standard error as "<file>:<line>: <reason>" and the answer is 1. A script whose replay of a
// host log failed answers 1 too, after saying why on standard error. Answers 0 when every line ran.

#include <istream>
#include <string>

#include "host_session.h"

// The script in the file at path; "-" reads standard input, which must be no directory. A script is read
// whole before its first line is checked: one longer than 16 MiB is refused, and a UTF-8 byte-order mark at
// its start is dropped.
int runScriptFile(HostSession& session, const std::string& path);
// The script read from in; label names it in messages.
int runScript(HostSession& session, std::istream& in, const std::string& label);
