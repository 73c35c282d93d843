# The two everyday commands are `make run` and `make test`; both first install
# whatever Debian packages are missing, then configure and build.

MAKEFLAGS += --no-print-directory

PRESET ?= dev
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)
# CI builds treat every warning as an error.
WERROR ?= $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test check-a11y check-desktops check-readme quiz-only check-asan fuzz bench screenshot package install-package install clean wasm web web-test web-run web-deps web-browsers web-node-modules web-screenshot web-bench web-lighthouse windows-configure windows windows-test windows-bench

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
	@$(BUILD_DIR)/qt/tsifrolet

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

# A short quiz played by keyboard and mouse while the Orca screen reader
# listens: it must speak the problem, the verdict, the error count and the
# closing message.
check-a11y: build
	@tools/ensure-packages.sh a11y
	@tests/a11y/orca_hears_quiz.sh $(BUILD_DIR)/qt/tsifrolet

# Real window managers and a Wayland compositor ask the window to stretch.
check-desktops: build
	@tools/ensure-packages.sh desktops shots
	@tests/desktop/window_stays_fixed.sh $(BUILD_DIR)/qt/tsifrolet

# The README's first steps pasted one by one by a new user of a fresh root
# of each Debian release in README_SUITES, made by debootstrap, through
# `make run` to a passing `make test`; with README_PACKAGE, that .deb is then
# installed in each root and a whole quiz played on it. Wants root.
README_SUITES ?= bookworm trixie
README_PACKAGE ?=
check-readme:
	@tools/ensure-packages.sh readme
	@for suite in $(README_SUITES); do tests/readme/first_steps.sh $$suite $(README_PACKAGE) || exit 1; done

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
# start-up time and peak memory beside an empty Qt window, in a release build;
# then the web page's size and load times, and the Windows program's start-up
# under Wine.
# Each writes its ratios into one file, printed as one table at the end.
BENCH_RUNS ?= 15
BENCH_SUMMARY := $(CURDIR)/build/bench-summary.tsv
bench: deps
	@tools/ensure-packages.sh bench
	$(call build-preset,bench)
	@rm -f $(BENCH_SUMMARY)
	@BENCH_SUMMARY=$(BENCH_SUMMARY) bench/run.sh build/bench $(BENCH_RUNS)
	@BENCH_SUMMARY=$(BENCH_SUMMARY) $(MAKE) web-bench
	@BENCH_SUMMARY=$(BENCH_SUMMARY) $(MAKE) windows-bench
	@bench/summary.sh $(BENCH_SUMMARY)

# The Windows program under Wine: start-up and memory beside an empty Win32
# window, and the sizes of the program and its installer.
windows-bench:
	@tools/ensure-packages.sh win32
	$(call build-preset,windows-bench)
	@bench/windows_run.sh build/windows-bench $(BENCH_RUNS)

# The web page: bytes transferred (gzip) and time to first paint and to
# ready, beside an empty page served the same way, in headless Chromium and
# Firefox and in WebKit; and the size of the page as one file.
WEB_BENCH_RUNS ?= 31
web-bench: web web-browsers web-node-modules
	@cd web/test && node bench.js $(WEB_BENCH_RUNS)

clean:
	rm -rf build

# The web page: the quiz compiled to WebAssembly by Debian's emscripten, whose
# JavaScript tools find Debian's acorn only through NODE_PATH, and the page
# written around it.
web-deps:
	@tools/ensure-packages.sh web

wasm: web-deps
	@NODE_PATH=/usr/share/nodejs cmake --preset wasm -DTSIFROLET_WERROR=$(WERROR) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build --preset wasm -j $(JOBS)

# The page as a static folder, build/web, that any static web server can
# serve, with the page as one file beside it, tsifrolet.html; the wasm build
# writes both, and leaves nothing else there.
web: wasm

# The quiz's own test suite compiled to WebAssembly and run by node, and its
# WebAssembly checked by Debian's wabt against the oldest browsers the page
# plays in; the page's scripts and styles read against the same browsers by
# linters from npm; then the page's cases in Debian's Chromium, Firefox ESR
# and WebKit, driven by playwright-core and puppeteer-core from npm and by
# WebKit's own WebDriver.
# Debian's nodejs comes without npm; other builds of node bring their own.
web-node-modules: web-deps
	@command -v npm >/dev/null || tools/ensure-packages.sh npm
	@[ web/test/node_modules/.package-lock.json -nt web/test/package-lock.json ] || \
		(cd web/test && npm ci --no-audit --no-fund --loglevel=error)

web-browsers:
	@tools/ensure-packages.sh browsers

web-test: web web-browsers web-node-modules
	@ctest --preset wasm
	@cd web/test && node lint.js
	@cd web/test && node --test page.test.js

# Lighthouse's accessibility and best-practices scores of the page, for the
# desktop and for a phone, in the same Chromium.
web-lighthouse: web
	@web/lighthouse/run.sh

# Photographs of the page mid-quiz in the three engines, on phones and
# tablets held both ways, into build/web-screenshots.
web-screenshot: web web-browsers web-node-modules
	@cd web/test && node screenshots.js

# Serves build/web on this machine only; WEB_PORT=0 takes any free port.
WEB_PORT ?= 8000
web-run: web
	@python3 web/serve.py build/web $(WEB_PORT)

# The Windows program, cross-built by mingw-w64 (build/windows/tsifrolet.exe),
# and its installer (build/windows/tsifrolet-setup.exe), made by NSIS.
windows-configure:
	@tools/ensure-packages.sh win32
	@cmake --preset windows -DTSIFROLET_WERROR=$(WERROR) >/dev/null

windows: windows-configure
	@cmake --build --preset windows -j $(JOBS) --target tsifrolet installer

# For 64-bit Windows and, in a 32-bit prefix, for 32-bit Windows alike:
# the program's imports, all in Windows 7; then the quiz's tests and the
# window's under Wine at 96, 144 and 192 dpi, also as the program runs on
# Windows 7, and the installer installed, started
# and removed again; last, both built again in another folder must come out
# byte for byte the same.
windows-test: windows-configure
	@cmake --build --preset windows -j $(JOBS)
	@win32/check-imports.sh build/windows/tsifrolet.exe
	@win32/check-imports.sh build/windows/x86/tsifrolet.exe
	@tests/win32/run.sh build/windows
	@WINEARCH=win32 tests/win32/run.sh build/windows/x86 build/windows/tsifrolet-setup.exe
	@win32/check-reproducible.sh build/windows

# What a release's files are dated by: the last commit (outside git: now),
# so that building the same commit again gives the very same files.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null || date +%s)

# The Debian package, into build/release, dated as above, alone there: one
# of an older version would be taken for it. The directories in the package
# take their modes from the umask, hence the fixed one.
package:
	@tools/ensure-packages.sh build package
	$(call build-preset,release)
	@rm -f build/release/*.deb
	@export SOURCE_DATE_EPOCH=$(SOURCE_DATE_EPOCH) && umask 022 && cpack --preset release

# Every file of a release in one folder, each named with the version: the
# Debian package, the Windows installer and program, the page as one file
# and as an archive for a web server, with SHA256SUMS and a README.txt; then
# checked (release/check.sh). Whatever is built already is taken as it is.
RELEASE_DIR ?= build/release-files
.PHONY: release
release: package windows web
	@SOURCE_DATE_EPOCH=$(SOURCE_DATE_EPOCH) release/gather.sh $(RELEASE_DIR)
	@release/check.sh $(RELEASE_DIR)

# The package installed by apt, from a copy in a folder of its own: apt reads
# a local package as its unprivileged user _apt, who cannot enter a home
# folder (private on Debian 12), and would say so in an alarming note.
install-package: package
	@dir=$$(mktemp -d /tmp/tsifrolet-package.XXXXXX) && trap 'rm -rf "$$dir"' EXIT && chmod 755 "$$dir" && \
		install -m 644 build/release/tsifrolet_*.deb "$$dir" && \
		$$([ "$$(id -u)" -eq 0 ] || echo sudo) env DEBIAN_FRONTEND=noninteractive apt-get install -y "$$dir"/tsifrolet_*.deb

# The optimised program and its desktop files, stripped, under PREFIX.
PREFIX ?= /usr/local
install: deps
	$(call build-preset,release)
	@cmake --install build/release --prefix $(PREFIX) --strip

# Photographs of the running program under Xvfb, into build/screenshots.
screenshot: build
	@tools/ensure-packages.sh shots
	@tools/screenshot.sh $(BUILD_DIR)/qt/tsifrolet build/screenshots
