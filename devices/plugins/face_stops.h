#pragma once

// The stops one face of a module plug-in owes and is owed. A device stops its acquisition once per run,
// but that stop can arrive before its worker has entered the face's run, or after the run has ended by
// itself; either way it belongs to that run: one that comes early still ends the run when it begins, and
// one that comes late does not end the next. Guarded by the plug-in's own lock.
class FaceStops {
 public:
  // A run of the face begins: a stop still owed to an earlier run would now be taken for this one's.
  void runBegins() { awaited_ = false; }
  // Whether the face's current or next run is to stop.
  bool requested() const { return requested_; }
  void runEnds() {
    awaited_ = !requested_;
    requested_ = false;
  }
  // A stop arrives while a run of the face is in progress, or not.
  void stopArrives(bool running) {
    if (!running && awaited_) {
      awaited_ = false;
    } else {
      requested_ = true;
    }
  }

 private:
  bool requested_ = false;
  bool awaited_ = false;  // the last run ended by itself; its stop is still to come
};
