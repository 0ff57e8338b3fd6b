# Thin wrapper over CMake: `make run` builds and starts the program,
# `make test` builds and runs every test. Both install missing Debian
# packages first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run demo test clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/ql540-cps

demo: build
	$(BUILD)/bin/ql540-cps --demo

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
