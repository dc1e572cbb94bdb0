# Front door. `make run` builds and starts Brennic with the bundled example; `make test` runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps native asan windows fuzz unit unit-asan e2e fuzz-smoke test run bench dist clean

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

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

unit: native
	ctest --preset native -j $(JOBS)

unit-asan: asan
	ctest --preset asan -j $(JOBS)

e2e: windows native
	ctest --preset windows

fuzz-smoke: fuzz
	tools/fuzz-smoke.sh

test: unit unit-asan e2e fuzz-smoke

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
