# The two commands of the README. Each installs what is missing first, so a fresh machine needs nothing by hand.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build setup logs

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/palpera-host --info

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Rewrites the example device-event logs under examples/logs with the module's own writer.
logs: build
	mkdir -p examples/logs
	$(BUILD)/palpera-log-examples examples/logs
