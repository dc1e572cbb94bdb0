# Front door. `make run` builds and starts Brennic with the bundled example; `make test` runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps native asan windows windows-clang workflow-check fuzz unit unit-asan e2e fuzz-smoke test run bench dist clean

all: native windows

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

# The second compiler: brennic.exe and vxtool.exe built with clang (warnings as errors); the end-to-end tests run
# once, on the GCC build.
windows-clang: deps
	cmake --preset windows-clang >/dev/null
	cmake --build --preset windows-clang -j $(JOBS)

# The Windows CI workflow checked against the workflow schema (it runs only on GitHub).
workflow-check: deps
	tools/check-workflows.sh

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

unit: native
	ctest --preset native -j $(JOBS)

unit-asan: asan
	ctest --preset asan -j $(JOBS)

# A Windows program driven under Wine on a shared machine now and then misses a beat (a window or a module that
# is not there yet when the driver looks); a file that fails is run once more, and a real fault fails both times.
e2e: windows native
	ctest --preset windows --repeat until-pass:2

fuzz-smoke: fuzz
	tools/fuzz-smoke.sh

test: unit unit-asan windows-clang workflow-check e2e fuzz-smoke

run: windows native
	tools/run.sh

bench: deps windows
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	tools/bench.sh

dist: windows native
	tools/dist.sh

clean:
	rm -rf build dist
