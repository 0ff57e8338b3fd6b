# Thin wrapper over CMake: `make run` builds and starts the program (and
# builds only what it runs), `make test` builds and runs every test. All
# targets install missing Debian packages first.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
COVERAGE_BUILD ?= build-coverage
JOBS ?= $(shell nproc)
# Most long tests wait on the link's timers, not the processor: run four of
# them at once for each core. Their process tests hold on a loaded machine.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 4 )))
# fuzz-long: seconds per harness, processes per harness, which harnesses
# (all when empty).
FUZZ_SECONDS ?= 14400
FUZZ_PROCESSES ?= $(JOBS)
FUZZ_HARNESSES ?=
# gui-walk: how long to walk, from which seed, how many actions a walk.
WALK_SECONDS ?= 600
WALK_FIRST_SEED ?= 1000
WALK_ACTIONS ?= 400

# ccache (when installed) keys on paths relative to the checkout, so a
# fresh clone in another folder reuses what any other checkout compiled.
export CCACHE_BASEDIR ?= $(CURDIR)
# Debug information names the build folder; without this every checkout
# would miss the others' cache entries.
export CCACHE_NOHASHDIR ?= 1
# Files built with a precompiled header are cached too (ccache hashes the
# header itself; the sources use no __DATE__ or __TIME__).
export CCACHE_SLOPPINESS ?= pch_defines,time_macros

# The program (its --demo radio runs inside it).
PROGRAM_TARGETS = ql540-cps
# The Windows build (cross-built with MinGW-w64, tested under Wine).
WINDOWS_BUILD ?= build-windows

.PHONY: all deps configure build program run demo test package clean \
	sanitize-configure sanitize-build sanitize-test sanitize-core-test fuzz-short fuzz-long fuzz-coverage gui-walk \
	windows-deps windows-configure windows windows-installer windows-test

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
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)

# The Debian package (CPack): build/ql540-cps_VERSION_ARCH.deb
package: build
	@cmake --build $(BUILD) --target package

# The same tests built with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (CMakePresets.json, preset "sanitize"), and
# the libFuzzer harnesses of fuzz/.
sanitize-configure: deps
	@cmake --preset sanitize -B $(SANITIZE_BUILD) >/dev/null

sanitize-build: sanitize-configure
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

sanitize-test: sanitize-build
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)

# The part of it below the windows, in half the time (CI): every GoogleTest
# suite (link engine, parsers, rules, the command-line tool with the fault
# matrix and the fleet, files) and the fuzzing harnesses' seeds.
sanitize-core-test: sanitize-configure
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target ql540_core_checks
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS) -L core

# About half a minute: the harnesses run side by side, 20 s each.
fuzz-short: sanitize-configure
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target ql540_core_checks
	./fuzz/run.sh $(SANITIZE_BUILD) 20

fuzz-long: sanitize-build
	./fuzz/run.sh $(SANITIZE_BUILD) $(FUZZ_SECONDS) $(FUZZ_PROCESSES) $(FUZZ_HARNESSES)

# Lines, functions and branches of the code under test that the corpus of
# the runs above reaches (clang source coverage, build-coverage/).
fuzz-coverage: deps
	./fuzz/coverage.sh $(COVERAGE_BUILD) $(SANITIZE_BUILD)

# Random walks of user actions through every window against the simulated
# radio, for WALK_SECONDS (docs/gui-walk.md). A failure is shrunk and printed.
gui-walk: configure
	@cmake --build $(BUILD) -j $(JOBS) --target gui_walk
	cd $(BUILD)/tests && QT_QPA_PLATFORM=offscreen ./gui_walk --first-seed $(WALK_FIRST_SEED) \
		--seconds $(WALK_SECONDS) --actions $(WALK_ACTIONS)

# Windows: ql540-cps.exe and ql540.exe in $(WINDOWS_BUILD)/bin, against Qt
# for Windows from scripts/windows-qt.sh (docs/windows.md).
windows-deps:
	@./scripts/install-deps.sh windows

windows-configure: windows-deps
	@qt="$$(./scripts/windows-qt.sh | tail -n 1)" && cmake -S . -B $(WINDOWS_BUILD) -G Ninja \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-toolchain.cmake -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
		-DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null

windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target ql540-cps ql540

# The installer $(WINDOWS_BUILD)/ql540-cps-VERSION-setup.exe and the
# portable zip beside it.
windows-installer: windows
	@./scripts/windows-package.sh $(WINDOWS_BUILD) "$$(./scripts/windows-qt.sh | tail -n 1)"

# Under Wine: the suites below the windows, the command-line tool and the
# installed program against the Linux simulator (scripts/windows-test.sh).
windows-test: windows-installer configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target windows_suites
	@cmake --build $(BUILD) -j $(JOBS) --target ql540 ql540-radio-sim
	./scripts/windows-test.sh $(WINDOWS_BUILD) $(BUILD) "$$(./scripts/windows-qt.sh | tail -n 1)"

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(COVERAGE_BUILD) $(WINDOWS_BUILD)
