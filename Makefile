# The two commands of the README: `make run` and `make test`. Both install what is missing
# (Debian packages), configure and build into build/: `make run` the program alone, `make test`
# the program, the test programs and the benchmarks, which it runs once each in a short mode.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# A unity build compiles the sources in batches, each header parsed once a batch: a fresh build
# takes well under half the time. Pass CMAKE_FLAGS=-DCMAKE_BUILD_TYPE=RelWithDebInfo for a build
# that recompiles only the files a change touches.
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON

.PHONY: all run test bench build configure deps test-deps

all: build

deps:
	@scripts/install-deps.sh run

test-deps:
	@scripts/install-deps.sh test

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

# The default build: the program, its icons and its manual page; no test program.
build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target zelk_nal
	mkdir -p $(BUILD_DIR)/temp
	./$(BUILD_DIR)/zelk_nal

# The printing tests need a CUPS scheduler with a cups-pdf queue: scripts/with-cups.sh starts one
# for the run (through sudo when not root) unless one runs already.
test: test-deps build
	cmake --build $(BUILD_DIR) -j$(JOBS) --target test_programs
	scripts/with-cups.sh scripts/run-tests.sh $(BUILD_DIR)

bench: build
	@scripts/install-deps.sh bench
	cmake --build $(BUILD_DIR) --target run_benchmarks

# Hardening checks as CI runs them, in one clang build (build-asan/): every test under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time
# (FUZZ_SECONDS per target, 30 by default).
.PHONY: sanitize fuzz

sanitize: test-deps
	scripts/ci/10-sanitizers.sh

fuzz: test-deps
	scripts/ci/20-fuzz.sh

# Installation. `make install` puts the program, its desktop entry, its icons and its autostart
# entry under PREFIX and SYSCONFDIR (as root for the defaults); `make package` builds the Debian
# package $(BUILD_DIR)/zelk-nal_VERSION_ARCH.deb, which installs under /usr and /etc.
PREFIX ?= /usr/local
SYSCONFDIR ?= /etc
.PHONY: install package

install: build
	cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DCMAKE_INSTALL_SYSCONFDIR=$(SYSCONFDIR)
	cmake --install $(BUILD_DIR)

package: test-deps build
	cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_SYSCONFDIR=/etc
	cd $(BUILD_DIR) && cpack
