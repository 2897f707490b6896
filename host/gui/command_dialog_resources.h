#pragma once

// The controls a command's dialog resource gives it: the host lays them out in the command's dialog before
// the command builds its own, and the command sees only their ids and events. So far one command has one:
// "Orient To World" ("PalperaAlignmentCmd") chooses how it finds the device transform in the radio group 2,
// whose radios 3, 5, 7, 9 and 11 are the transform of the object "TestObject", a transform file, the
// identity, three probed planes and the move-device wizard. No radio is chosen at first. The choice lies in
// the command's page (control 0), so it is out of the user's reach whenever the command disables that.
//
// GUI thread only, like the runner that calls it.

class HostGuiDialog;

// Adds the resource controls of the command class commandClass (its className) to dialog; nothing for a
// class without a resource or a null name.
void addCommandDialogResource(const char* commandClass, HostGuiDialog& dialog);
