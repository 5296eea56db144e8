# Set-up, build, run and test. Every target first installs what is missing (scripts/install-deps).
BUILD ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench package screenshots clean fuzz sanitize

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Starts the window with the samples folder as its working folder, so the chooser opens on the
# example files at the first start.
run: build
	@scripts/run-window $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	@scripts/run-bench $(BUILD)

# Debian package of the two programs, desktop entry, icon and manual pages, in the build folder.
package: build
	@scripts/install-deps --package
	@cd $(BUILD) && cpack -G DEB

# The README pictures, from the real window under Xvfb.
screenshots: build
	@scripts/install-deps --screenshots
	@scripts/screenshots $(BUILD)

# Each libFuzzer target for FUZZ_SECONDS (default 60) in a clang build of its own; see
# scripts/fuzz. A finding ends with a non-zero status.
FUZZ_SECONDS ?= 60
fuzz: deps
	@scripts/fuzz build-fuzz $(FUZZ_SECONDS)

# The whole test suite in a g++ build with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@scripts/sanitize build-asan

clean:
	rm -rf $(BUILD)
