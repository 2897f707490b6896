#pragma once

// What every alignment command does to the hard-probe device. A new device transform goes to the current
// plug-in in four steps: it becomes the hardware matrix (committed), the plug-in takes up the stored object
// alignment, the combined matrix (object x hardware x scale) is read, and the object cache goes back to the
// identity, so that from then on the device works with its hardware and scale matrices only. The combined
// matrix is what the command's matrix display shows.
//
// The whole device transform takes raw device points to the world, where the document shows the reference
// (the frame rule of host_api/zel_cad.h). An alignment to the part therefore solves from the device's points
// onto the part where it stands, and the hardware matrix is what makes object x hardware x scale deliver
// that: `hardwareDelivering`.
//
// A command that probes for an alignment keeps the hardware matrix it found (never the combined one, which
// already holds the scale) and gives exactly that back when the run is cancelled.
//
// `PositionDisplay` is the "Show Position" mode: the probe follows the device in the view and the info tile
// shows where it is, until the device reports its stop button (or a cancel or an error).
//
// Ending a run: a device delivers the events its worker posted before the stop during `stopAcquisition`,
// to the receivers it then holds. A command ending a run from an event handler, on cancel or on deactivate
// would get a second STOP, a sample, "Cancel" or "Error" in the middle of its own end, and end the run again
// inside it. So a command moves its run's handles out first (a nested end finds nothing running) and ends
// the acquisition with `stopDetached`, which takes the receivers off before the device stops.
//
// Main thread only.

#include "basic_types/matrix4x4.h"
#include "commands/capture/capture_info_tile.h"  // a position display shows the capture's tile
#include "devices/contracts/plugin_device.h"
#include "framework/object/iptr.h"

class IZelDocObject;
class IZelListener;
class IZelPlugin;
class IZelHardProbeProbeGfx;
class IZelSubject;
class MatrixWidget;
class StopReceiver;

// The four steps above with a new hardware matrix; shows the combined matrix on display (when given) and
// answers it.
Matrix4x4 setDeviceTransform(IZelPlugin& plugin, const Matrix4x4& hardware, MatrixWidget* display);

// The hardware matrix under which the whole device transform takes the device's points where deviceToWorld
// takes them. deviceToWorld is an alignment solved from points the device delivered with its object matrix
// set aside (the scale applied, as always); the object matrix is the one the measuring commands take up. The
// plug-in's object cache is left at the identity, as the four steps leave it.
Matrix4x4 hardwareDelivering(IZelPlugin& plugin, const Matrix4x4& deviceToWorld);

// The same steps without a new hardware matrix: what a command shows when it starts.
Matrix4x4 showDeviceTransform(IZelPlugin& plugin, MatrixWidget* display);

// The hardware matrix as a command found it, to give back on cancel.
class KeptHardwareMatrix {
 public:
  void keep(IZelPlugin& plugin);
  bool isKept() const { return kept_; }
  const Matrix4x4& matrix() const { return matrix_; }
  // Sets the kept matrix back through setDeviceTransform and forgets it; nothing when none is kept.
  void giveBack(IZelPlugin& plugin, MatrixWidget* display);
  void forget() { kept_ = false; }

 private:
  Matrix4x4 matrix_;
  bool kept_ = false;
};

class PositionDisplay {
 public:
  PositionDisplay() = default;
  PositionDisplay(const PositionDisplay&) = delete;
  PositionDisplay& operator=(const PositionDisplay&) = delete;
  ~PositionDisplay() { stop(); }

  // Attaches listener to a new stop receiver, shows the probe over object when "Palpera/Gfx/ShowProbe" is
  // set (with fitView, the view fitted once to the scene without the probe), adds the receiver to device
  // and starts its acquisition, then shows the info tile. When acquisition does not start, everything done
  // is undone and the answer is false.
  bool start(IZelPluginDevice& device, IZelListener& listener, IZelDocObject* object, bool fitView = false);
  // Hides the info tile, takes the receiver off and stops acquisition, and lets the graphics and the
  // receiver go.
  // Nothing when not running.
  void stop();
  bool isRunning() const { return static_cast<bool>(device_); }
  // Whether subject is this display's stop receiver (the sender of its "Stop").
  bool isSender(IZelSubject* subject) const;

 private:
  // Lets the graphics and the receiver go.
  void release();

  IPtr<IZelPluginDevice> device_;  // while acquisition runs
  IPtr<StopReceiver> receiver_;
  IZelListener* listener_ = nullptr;
  IPtr<IZelHardProbeProbeGfx> probeGraphics_;
};
