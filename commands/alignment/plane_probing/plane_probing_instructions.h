#pragma once

// What the instructions tile tells the user while the three planes of a 3-2-1 alignment are probed on the
// part: SAMPLE points on each face, then one STOP point above it. Shared by the 3-2-1 commands that probe
// planes. Main thread only.

// Shows or hides the instructions tile; hiding also clears what the tiles show.
void showPlaneInstructionsTile(bool show);

// Publishes the instructions for probing plane 1 to 3 (a plane outside takes the nearest).
void showPlaneProbingInstructions(int plane);
