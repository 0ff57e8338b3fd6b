# Thin wrapper over CMake: `make run` builds and starts the program (and
# builds only what it runs), `make test` builds and runs every test. Both
# install missing Debian packages first.
BUILD ?= build
JOBS ?= $(shell nproc)

# The program and what it starts: the simulated radio of --demo.
PROGRAM_TARGETS = ql540-cps ql540-radio-sim

.PHONY: all deps configure build program run demo test clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

program: configure
	@cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAM_TARGETS)

run: program
	$(BUILD)/bin/ql540-cps

demo: program
	$(BUILD)/bin/ql540-cps --demo

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
