# Quick start: `make run` and `make test`. Everything builds with CMake under
# build/ (and build-asan/ for the sanitizer suite).
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test asan-test device-check soak bench fuzz clean format

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run-device

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) --timeout 300

asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j$(JOBS)
	@ctest --preset asan -j$(JOBS)

# The product built with a real Win32 cross compiler, and its export table checked.
device-check:
	@scripts/device-check build-device

# The monkey under the sanitizers for a few minutes; SOAK_EVENTS sets the length.
SOAK_EVENTS ?= 20000
soak: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j$(JOBS) --target pelloran-sim
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		build-asan/host/pelloran-sim monkey --events $(SOAK_EVENTS)

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-bench -j$(JOBS)
	@scripts/run-benchmarks build-bench

# FUZZ_SECONDS bounds each target's run.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLORAN_FUZZ=ON -DPELLORAN_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j$(JOBS) --target fuzzers
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-bench build-fuzz build-device
