# Set-up, build, run and test. Every target first installs what is missing (scripts/install-deps).
BUILD ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-slow bench package screenshots clean fuzz sanitize \
	windows-qt windows-sqlite windows windows-test windows-screenshots windows-zip windows-installer

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Starts the window with the samples folder as its working folder, so the chooser opens on the
# example files at the first start.
run: build
	@scripts/run-window $(BUILD)

# The quick suite; the long runs are labelled "slow" and run with `make test-slow` (CI runs both).
test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE slow

test-slow: build
	@cd $(BUILD) && ctest --output-on-failure -L slow

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

# Windows, cross-built here with MinGW against Qt for Windows, which scripts/windows-qt builds
# once into MIREN_CACHE (the first time takes about an hour). Tests and pictures run under Wine.
MIREN_CACHE ?= $(HOME)/.cache/miren-loader
QT_MINGW ?= $(MIREN_CACHE)/qt-mingw
SQLITE_MINGW ?= $(MIREN_CACHE)/sqlite-mingw
WIN_BUILD ?= build-windows
export MIREN_CACHE QT_MINGW SQLITE_MINGW
# Stripping a Windows program stamps it with the time unless SOURCE_DATE_EPOCH is set: with the
# last commit's time the zip and the installer hold the same bytes, run after run.
WIN_PACKAGE_TIME = SOURCE_DATE_EPOCH=$$(git log -1 --format=%ct 2>/dev/null || echo 0)

windows-qt:
	@scripts/windows-qt qtbase

# SQLite for the lap library, a static library beside Qt for Windows (a minute or two, once).
windows-sqlite:
	@scripts/windows-qt sqlite

windows: windows-qt windows-sqlite
	@scripts/install-deps --windows
	@cmake -G Ninja -S . -B $(WIN_BUILD) -DCMAKE_BUILD_TYPE=Release -DMIREN_BUILD_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=$(QT_MINGW)/lib/cmake/Qt6/qt.toolchain.cmake \
	  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	  $(CMAKE_FLAGS) >/dev/null
	@nice -n 19 cmake --build $(WIN_BUILD) -j$(JOBS)

windows-test: windows
	@cd $(WIN_BUILD) && ctest --output-on-failure -j$(JOBS) -LE slow

windows-screenshots: windows
	@scripts/install-deps --screenshots --windows
	@scripts/windows-screenshots $(WIN_BUILD)

# The zip for Windows users, checked in a clean Wine prefix against the Linux build's output.
windows-zip: windows build
	@cd $(WIN_BUILD) && $(WIN_PACKAGE_TIME) cpack -G ZIP >/dev/null
	@scripts/check-windows-zip $(WIN_BUILD)/miren-loader-*-win64.zip $(BUILD)

# The installer (NSIS) with the zip's files, for the current user without administrator rights;
# installed, tried and uninstalled silently in a clean Wine prefix.
windows-installer: windows build
	@cd $(WIN_BUILD) && export $(WIN_PACKAGE_TIME) && cpack -G ZIP >/dev/null && \
	  cpack -G NSIS >/dev/null
	@scripts/check-windows-installer $(WIN_BUILD)/miren-loader-*-win64.exe \
	  $(WIN_BUILD)/miren-loader-*-win64.zip $(BUILD)

clean:
	rm -rf $(BUILD)
