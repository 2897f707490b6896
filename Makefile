# The two commands of the README. Each installs what is missing first, so a fresh machine needs nothing by hand.
BUILD ?= build
JOBS ?= $(shell nproc)
# More cmake options for the build's configuration (CI sets the debug information it needs).
CONFIGURE_ARGS ?=

.PHONY: help run test build setup logs parts host-log probe-log coverage

# A plain make names the README's two commands, and the others.
help:
	@echo "make run       build, then replay a recorded session probing a part, and compare it with the part"
	@echo "make test      build, then run every test"
	@echo "make build     configure and build in $(BUILD)/ (RelWithDebInfo), installing what is missing first"
	@echo "make logs      write the example device-event logs under examples/logs again"
	@echo "make parts     write the example CAD parts under examples/parts again"
	@echo "make host-log  record the example host log again, into $(BUILD)/host-log/"
	@echo "make probe-log record the probing session again, into $(BUILD)/probe-log/"
	@echo "make coverage  run every test with clang's coverage and print it per source folder"

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CONFIGURE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

# Replays a recorded session of "Hard Probe Features" on an example part with no device, then prints each
# probed feature beside the part's nominal one.
run: build
	$(BUILD)/palpera-host --script examples/probe-replay.script

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Rewrites the example device-event logs under examples/logs with the module's own writer.
logs: build
	mkdir -p examples/logs
	$(BUILD)/palpera-log-examples examples/logs

# Rewrites the example parts under examples/parts as STEP files; a test checks they hold what it writes.
parts: build
	mkdir -p examples/parts
	$(BUILD)/palpera-parts examples/parts

# Records examples/record-dump.script's host log again, with the hard-probe emulator as device, into a scratch
# folder: $(BUILD)/host-log/examples/dump.log and the device-event file beside it. The shipped pair stays as it
# is, for the event file's times differ from run to run by a millisecond or so; copy the new pair over it to
# ship a changed recording.
host-log: build
	rm -rf $(BUILD)/host-log
	mkdir -p $(BUILD)/host-log/examples
	cp -r examples/materials $(BUILD)/host-log/examples/
	cd $(BUILD)/host-log && $(abspath $(BUILD))/palpera-host --script $(CURDIR)/examples/record-dump.script
	@echo "host-log: recorded $(BUILD)/host-log/examples/dump.log and $(BUILD)/host-log/examples/dump-hardprobe-0000.xml"

# Records examples/probe-record.script's session again, with the hard-probe emulator as device, into a scratch
# folder: $(BUILD)/probe-log/examples/probe.log and the four device-event files beside it. As with host-log,
# the shipped files stay as they are; copy the new ones over them to ship a changed recording.
probe-log: build
	rm -rf $(BUILD)/probe-log
	mkdir -p $(BUILD)/probe-log/examples
	cp -r examples/materials examples/parts $(BUILD)/probe-log/examples/
	cd $(BUILD)/probe-log && $(abspath $(BUILD))/palpera-host --script $(CURDIR)/examples/probe-record.script
	@echo "probe-log: recorded $(BUILD)/probe-log/examples/probe.log and its probe-hardprobe-*.xml files"

# Runs every test in a build with clang's source-based coverage (build-coverage) and prints line and branch
# coverage per source folder.
coverage:
	JOBS=$(JOBS) bash scripts/coverage.sh
