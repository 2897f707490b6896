#pragma once

// One of the module's commands run by the host's command runner on the hard-probe set-up of
// hard_probe_fixture.h: the emulator as the current plug-in and a test device as "HardProbe". A command still
// running at the end is cancelled while the host is still there.

#include "framework/registrations/registered_classes.h"
#include "host/gui/command_runner.h"
#include "tests/commands/support/hard_probe_fixture.h"

class HardProbeCommandTest : public HardProbeTest {
 protected:
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    command_.release();
    HardProbeTest::TearDown();
  }

  CommandRunner::Start start(const char* className) {
    command_.createInstance(classIdOf(className));
    return runner_.start(command_.get());
  }
  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  bool enabled(int32_t id) { return dialog().isControlEnabled(id); }

  CommandRunner runner_{&host_.gui().commandContainer(), &host_.gui().dialog(), &host_.scene().view()};
  IPtr<IComponentCommand> command_;
};
