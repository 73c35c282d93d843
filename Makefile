# The two everyday commands are `make run` and `make test`; both first install
# whatever Debian packages are missing, then configure and build.

MAKEFLAGS += --no-print-directory

PRESET ?= dev
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)
# CI builds treat every warning as an error.
WERROR ?= $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test quiz-only screenshot package clean

all: build

deps:
	@tools/ensure-packages.sh build

configure: deps
	@cmake --preset $(PRESET) -DTSIFROLET_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@$(BUILD_DIR)/app/tsifrolet

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

# Builds and tests the quiz alone, proving it needs nothing beyond the standard library.
quiz-only: deps
	@cmake --preset quiz-only -DTSIFROLET_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset quiz-only -j $(JOBS)
	@ctest --preset quiz-only -j $(JOBS)

clean:
	rm -rf build

# The Debian package, into build/release. Its files are dated by the last
# commit (outside git: now), so that building the same commit again gives the
# very same file. The directories in the package take their modes from the
# umask, hence the fixed one.
package:
	@tools/ensure-packages.sh build package
	@cmake --preset release -DTSIFROLET_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@export SOURCE_DATE_EPOCH=$${SOURCE_DATE_EPOCH:-$$(git log -1 --format=%ct 2>/dev/null || date +%s)} && \
		umask 022 && cpack --preset release

# Photographs of the running program under Xvfb, into build/screenshots.
screenshot: build
	@tools/ensure-packages.sh shots
	@tools/screenshot.sh $(BUILD_DIR)/app/tsifrolet build/screenshots
