#pragma once

// What the host-tool tests write into a script to drive the emulator: the waits for its events, the stop an
// operator takes with the tip lifted, and numbers printed to the last digit.

#include <initializer_list>
#include <sstream>
#include <string>

inline const std::string kSampled = "run-until Palpera/Events/Single/SampledEvent 10000\n";
inline const std::string kRadiusEvent = "run-until Palpera/Events/Single/RadiusEvent 10000\n";
// The undo key, and the wait until the command has taken the last touch back.
inline const std::string kUndo = "key press 280\nrun-until Palpera/Events/Single/CustomEvent 10000\n";
// The stop taken with the lift key held: off the surface, on the side the probe came from; the script then
// waits until the stop has reached the command. The lift's move is not waited for: the device may hold a move
// back (at most 30 a second), and the stop is delivered after it anyway.
inline const std::string kLiftedStop =
    "key press 299\nkey press 293\nkey release 299\nrun-until Palpera/Events/Single/StopEvent 10000\n";

// Each value after a blank, to 17 significant digits.
inline std::string numbers(std::initializer_list<double> values) {
  std::ostringstream text;
  text.precision(17);
  for (double value : values) text << ' ' << value;
  return text.str();
}
