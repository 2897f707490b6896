#pragma once

#include <chrono>
#include <string>

// A script's time for the main loop, in milliseconds: a whole number from 0 to one hour, so that a typing
// slip cannot leave the host running for days. Throws ScriptError otherwise.
std::chrono::milliseconds loopTimeWord(const std::string& word);
