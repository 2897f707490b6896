# The two commands of the README. Each installs what is missing first, so a fresh machine needs nothing by hand.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build setup logs parts host-log coverage

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# Replays a recorded host log through "Plugin Data Dump", which prints each device event on standard error.
run: build
	$(BUILD)/palpera-host --script examples/dump-replay.script

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

# Records examples/dump.log (and the device-event file beside it) again, with the hard-probe emulator as device.
host-log: build
	$(BUILD)/palpera-host --script examples/record-dump.script

# Runs every test in a build with clang's source-based coverage (build-coverage) and prints line and branch
# coverage per source folder.
coverage:
	JOBS=$(JOBS) bash scripts/coverage.sh
