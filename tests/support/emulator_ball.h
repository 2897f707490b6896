#pragma once

// The radius of the ball the emulator probes with unless its "ProbeDiameter" setting says otherwise.
inline constexpr double kEmulatorBallRadius = 0.003;
