# The two everyday commands are `make run` and `make test`; both first install
# whatever Debian packages are missing, then configure and build.

MAKEFLAGS += --no-print-directory

PRESET ?= dev
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)
# CI builds treat every warning as an error.
WERROR ?= $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test check-a11y quiz-only check-asan fuzz bench screenshot package clean

all: build

# Configures and builds one CMake preset: $(call build-preset,NAME)
define build-preset
	@cmake --preset $(1) -DTSIFROLET_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset $(1) -j $(JOBS)
endef

deps:
	@tools/ensure-packages.sh build

# Configuring again only when the tree has never been configured or the
# warning setting changed; the build itself reruns CMake when a CMakeLists.txt
# changes, so a repeated `make run` goes straight to the compiler.
configure: deps
	@grep -qx 'TSIFROLET_WERROR:BOOL=$(WERROR)' $(BUILD_DIR)/CMakeCache.txt 2>/dev/null || \
		cmake --preset $(PRESET) -DTSIFROLET_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The program alone: the tests are built by `make test`.
run: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target tsifrolet
	@$(BUILD_DIR)/app/tsifrolet

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

# A short quiz played by keyboard and mouse while the Orca screen reader
# listens: it must speak the problem, the verdict and the error count.
check-a11y: build
	@tools/ensure-packages.sh a11y
	@tests/a11y/orca_hears_quiz.sh $(BUILD_DIR)/app/tsifrolet

# Builds and tests the quiz alone, proving it needs nothing beyond the standard library.
quiz-only: deps
	$(call build-preset,quiz-only)
	@ctest --preset quiz-only -j $(JOBS)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
# a leak, a bad access or undefined behaviour fails the test that caused it.
check-asan: deps
	$(call build-preset,asan)
	@ctest --preset asan -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS (a minute unless told), built by clang.
FUZZ_SECONDS ?= 60
fuzz: deps
	@tools/ensure-packages.sh fuzz
	$(call build-preset,fuzz)
	@fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

# Measurements, not tests: the quiz under Google Benchmark, and the program's
# start-up time and peak memory beside an empty Qt window, in a release build.
BENCH_RUNS ?= 15
bench: deps
	@tools/ensure-packages.sh bench
	$(call build-preset,bench)
	@bench/run.sh build/bench $(BENCH_RUNS)

clean:
	rm -rf build

# The Debian package, into build/release. Its files are dated by the last
# commit (outside git: now), so that building the same commit again gives the
# very same file. The directories in the package take their modes from the
# umask, hence the fixed one.
package:
	@tools/ensure-packages.sh build package
	$(call build-preset,release)
	@export SOURCE_DATE_EPOCH=$${SOURCE_DATE_EPOCH:-$$(git log -1 --format=%ct 2>/dev/null || date +%s)} && \
		umask 022 && cpack --preset release

# Photographs of the running program under Xvfb, into build/screenshots.
screenshot: build
	@tools/ensure-packages.sh shots
	@tools/screenshot.sh $(BUILD_DIR)/app/tsifrolet build/screenshots
