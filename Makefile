# Two set-up commands: `make run` and `make test`. Everything else here serves them.
SHELL := /bin/bash
.DEFAULT_GOAL := help

ROOT := $(CURDIR)
NATIVE := build/native
WINDOWS := build/windows
BENCH := build/bench
FUZZ := build/fuzz
PLAIN := build/plain
DIST := build/dist
FUZZ_SECONDS ?= 60
JOBS ?= 2
WINEPREFIX := $(ROOT)/$(WINDOWS)/wineprefix
WINESERVER := /usr/lib/wine/wineserver
# Ends the wine server of every prefix of the Windows tree: besides the main one, one for each
# other display scale (wineprefix-dpi144, ...) that the tests and the screenshots use.
stop-wine = for prefix in $(WINEPREFIX) $(WINEPREFIX)-dpi*; do \
		[ -d "$$prefix" ] && WINEPREFIX=$$prefix $(WINESERVER) -k 2>/dev/null; done; true
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"
# The same screen at 150 % display scale.
XVFB_144 := xvfb-run -a -s "-screen 0 1536x1152x24"

PACKAGES := cmake make g++ libgtest-dev libgmock-dev googletest libbenchmark-dev \
	nlohmann-json3-dev g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 \
	xvfb xauth imagemagick libwine-dev fp-utils clang libclang-rt-14-dev python3-pyvisa \
	nsis

.PHONY: help deps build native windows test test-native test-windows test-fuzz fuzz run bench dist clean

# Configures build tree $(1) with the options $(2). What CMake says goes to $(1).configure.log
# and is shown when the configuration fails.
configure = mkdir -p build && cmake -S . -B $(1) $(2) >$(1).configure.log 2>&1 || \
	{ cat $(1).configure.log; echo "Configuring $(1) failed (the log is $(1).configure.log)." >&2; exit 1; }

help:
	@echo "make run    build and start Stratigon.exe on the simulated bench"
	@echo "make test   install what is missing, build both trees, run every test"
	@echo "make bench  run the benchmarks"
	@echo "make dist   the setup, the zip and the Linux tool and VISA library, in $(DIST)/"

# Installs the Debian packages that are not there yet (apt-get only; needs root).
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		if [ "$$(id -u)" != 0 ]; then echo "Run as root to install the packages above." >&2; exit 1; fi; \
		apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi

native: deps
	$(call configure,$(NATIVE),-DCMAKE_BUILD_TYPE=Debug -DSTRATIGON_SANITIZE=ON)
	cmake --build $(NATIVE) -j$(JOBS)

windows-tree = $(call configure,$(WINDOWS),-DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64-x86_64.cmake)

windows: deps
	$(windows-tree)
	cmake --build $(WINDOWS) -j$(JOBS)

build: native windows

test-native: native
	cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

# The whole Wine run sits inside one X server, and the wine server starts and stops with it,
# so no Wine process outlives the run or first comes up without a display. Tests that fail
# run once more, because Wine itself now and then drops a process's server connection; a
# fault of ours fails twice, and every test that needed the second run is named at the end.
test-windows: windows
	$(stop-wine)
	cd $(WINDOWS) && WINEPREFIX=$(WINEPREFIX) $(XVFB) $(ROOT)/tools/ctest-once-more -j$(JOBS); \
		status=$$?; $(stop-wine); exit $$status

# The fuzz tree: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer; it
# holds the core, the simulator and the fuzz targets only.
fuzz-tree = $(call configure,$(FUZZ),-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DSTRATIGON_FUZZ=ON) && \
	cmake --build $(FUZZ) -j$(JOBS) --target stratigon_fuzzers

# A few seconds per target from the seeds, after every crash input kept in fuzz/regressions/.
test-fuzz: deps
	$(fuzz-tree)
	fuzz/run-fuzzers --test $(FUZZ) 3

.PHONY: plain-sim test-pyvisa

# The simulated bench as an ordinary VISA library: a plain process cannot load the test tree's
# library, which needs the sanitizers' runtime, so clients such as pyvisa get this one.
plain-tree = $(call configure,$(PLAIN),-DCMAKE_BUILD_TYPE=Release -DSTRATIGON_SANITIZE=OFF)

plain-sim: deps
	$(plain-tree)
	cmake --build $(PLAIN) -j$(JOBS) --target stratigon-visa-sim

# Debian's pyvisa, hence the system interpreter, drives that library through its own wrapper.
test-pyvisa: plain-sim
	/usr/bin/python3 tests/pyvisa/test_pyvisa.py $(PLAIN)/lib/libstratigon-visa-sim.so

test: test-native test-windows test-fuzz test-pyvisa

# With a display the program opens there; without one it runs on a private X server, and
# screenshots of its main views go to out/, and once more at 150 % display scale to
# out/dpi144/. Either way the build's program is registered in the prefix first, so
# automation clients (the samples) reach it.
run: windows
	@if [ -n "$${DISPLAY:-}" ]; then \
		WINEPREFIX=$(WINEPREFIX) tools/wine-run $(WINDOWS)/bin/Stratigon.exe /RegServer && \
		WINEPREFIX=$(WINEPREFIX) tools/wine-run $(WINDOWS)/bin/Stratigon.exe; \
	else \
		$(stop-wine); \
		WINEPREFIX=$(WINEPREFIX) $(XVFB) tools/run-showcase $(WINDOWS)/bin out && \
		WINEPREFIX=$(WINEPREFIX)-dpi144 STRATIGON_DPI=144 $(XVFB_144) \
			tools/run-showcase $(WINDOWS)/bin out/dpi144; status=$$?; \
		$(stop-wine); \
		echo "Screenshots of the scanning window, the main dialog, a What's This popup, the About box, the Possible Upgrades dialog, the install window and the main dialog after the script sample are in out/, and at 150 % display scale in out/dpi144/; the inventory sample's CSV is out/inventory.csv."; \
		exit $$status; \
	fi

# The native benchmarks, then the automation look-up under Wine (in process and against a
# registered Stratigon.exe, which scans its 256-module bench with the mandated waits first).
bench: deps windows
	$(call configure,$(BENCH),-DCMAKE_BUILD_TYPE=Release -DSTRATIGON_BENCHMARKS=ON)
	cmake --build $(BENCH) -j$(JOBS) --target stratigon_bench stratigon-ratio-bench
	$(BENCH)/bin/stratigon_bench
	set -o pipefail; $(BENCH)/bin/stratigon-ratio-bench | tee $(BENCH)/native.txt
	WINEPREFIX=$(WINEPREFIX) $(WINESERVER) -k 2>/dev/null || true
	WINEPREFIX=$(WINEPREFIX) $(XVFB) bash -c 'tools/wine-run $(WINDOWS)/bin/Stratigon.exe /RegServer </dev/null && \
		tools/wine-run $(WINDOWS)/bin/stratigon-automation-bench.exe </dev/null >$(BENCH)/wine.txt'; \
		status=$$?; WINEPREFIX=$(WINEPREFIX) $(WINESERVER) -k 2>/dev/null || true; cat $(BENCH)/wine.txt; exit $$status
	@awk '/exchange .*natively:/ { native = $$(NF - 1) } /exchange .*under Wine:/ { wine = $$(NF - 1) } \
		END { if (native > 0) printf "one query exchange under Wine against natively: ratio %.2f\n", wine / native }' \
		$(BENCH)/native.txt $(BENCH)/wine.txt

# FUZZ_SECONDS of fuzzing per target; the corpus grows in build/fuzz/work/ from run to run.
fuzz: deps
	$(fuzz-tree)
	fuzz/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

# What ships, Release builds stripped: from the Windows tree the setup and the zip of the same
# files, and for Linux the command-line tool with the simulated bench as an ordinary VISA
# library beside it, where the tool looks for it.
dist: deps
	$(windows-tree)
	cmake --build $(WINDOWS) -j$(JOBS) --target stratigon_dist
	$(plain-tree)
	cmake --build $(PLAIN) -j$(JOBS) --target stratigon-cli stratigon-visa-sim
	rm -rf $(DIST) && mkdir -p $(DIST)
	cp $(WINDOWS)/dist/StratigonSetup.exe $(WINDOWS)/dist/Stratigon-*.zip $(DIST)/
	strip -o $(DIST)/stratigon-cli $(PLAIN)/bin/stratigon-cli
	strip -o $(DIST)/libstratigon-visa-sim.so $(PLAIN)/lib/libstratigon-visa-sim.so
	@ls -l $(DIST)

clean:
	$(stop-wine)
	rm -rf build out
