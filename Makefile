# Thin wrapper: every target installs what is missing, configures and builds with CMake/Ninja.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 30
CMAKE_CONFIGURE = cmake -S . -G Ninja -Wno-dev

.PHONY: deps build test test-asan test-tsan fuzz bench demo clean

deps:
	@scripts/install-deps.sh

build: deps
	@$(CMAKE_CONFIGURE) -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build -j $(JOBS)

test: build
	@ctest --test-dir build --output-on-failure -j $(JOBS)

# The same suites with AddressSanitizer and UndefinedBehaviorSanitizer; any finding stops the run.
test-asan: deps
	@$(CMAKE_CONFIGURE) -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVIREL_SANITIZE=address,undefined -DVIREL_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# The suites labelled "threads" under ThreadSanitizer.
test-tsan: deps
	@$(CMAKE_CONFIGURE) -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIREL_SANITIZE=thread -DVIREL_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
		ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L threads --no-tests=ignore

# Every libFuzzer target for FUZZ_SECONDS each, seeded with the real test data.
fuzz: deps
	@CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIREL_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers.sh build-fuzz/fuzzers $(FUZZ_SECONDS)

bench: build
	@for b in build/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

# The built-in demo through the plug-in, as a host plays it; the plug-in's log goes to build/demo.log.
demo: build
	@build/host/virel-host render --output build/demo.wav --log build/demo.log
	@echo "Plug-in log: build/demo.log"

clean:
	rm -rf build build-asan build-tsan build-fuzz
