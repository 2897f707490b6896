#pragma once

// The information tile of the capture commands: while points are captured it shows the device's state, with
// neither the feature information nor the brief instructions, which a capture has none of. Main thread only.

// Shows the tile (on) or hides it and clears the tiles' items (off); nothing without the host's tile facade.
void showInfoTile(bool on);
