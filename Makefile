# The two commands of the README. Each installs what is missing first, so a fresh machine needs nothing by hand.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build setup

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/palpera-host --info

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
