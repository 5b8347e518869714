# The two commands of the README: `make run` and `make test`. Both install what is missing
# (Debian packages), configure and build into build/.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all run test bench build deps test-deps

all: build

deps:
	@scripts/install-deps.sh run

test-deps:
	@scripts/install-deps.sh test

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	mkdir -p $(BUILD_DIR)/temp
	./$(BUILD_DIR)/zelk_nal

test: test-deps build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600

bench: test-deps build
	cmake --build $(BUILD_DIR) --target run_benchmarks
