# make run   - build and start Orvell Tessaro (under Wine on Linux; a screenshot without a display)
# make test  - every test: native, under Wine, and native again with sanitizers (fuzz corpora replayed)
# make bench - the benchmarks (not part of make test)
# make screenshots - pictures of the main window in each view and with its panel scrolled down, the update
#                    notice and the About window
#                    under Wine + Xvfb, in build/screenshots
# make dist  - the Windows release zip, dist/OrvellTessaro-<version>-win64.zip
# make fuzz  - every fuzz target for FUZZ_SECONDS (60) each, clang with sanitizers in build/fuzz
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
CONFIGURE = cmake -G Ninja -Wno-dev

.PHONY: all deps native asan windows app dist fuzzers fuzz test run bench screenshots clean

all: native windows

deps:
	@scripts/install-deps.sh

native: deps
	@[ -f $(NATIVE)/build.ninja ] || $(CONFIGURE) -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_BENCH=ON >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

asan: deps
	@[ -f $(ASAN)/build.ninja ] || $(CONFIGURE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)

CONFIGURE_WINDOWS = [ -f $(WINDOWS)/build.ninja ] || $(CONFIGURE) -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake >/dev/null

windows: deps
	@$(CONFIGURE_WINDOWS)
	cmake --build $(WINDOWS) -j $(JOBS)

app: deps
	@$(CONFIGURE_WINDOWS)
	cmake --build $(WINDOWS) -j $(JOBS) --target tessaro

dist: deps
	@$(CONFIGURE_WINDOWS)
	cmake --build $(WINDOWS) -j $(JOBS) --target dist

fuzzers: deps
	@[ -f $(FUZZ)/build.ninja ] || CC=clang-14 CXX=clang++-14 $(CONFIGURE) -S . -B $(FUZZ) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_FUZZ=ON >/dev/null
	cmake --build $(FUZZ) -j $(JOBS) --target fuzzers

fuzz: fuzzers
	@scripts/run-fuzz.sh $(FUZZ_SECONDS)

test: native asan windows
	@scripts/run-tests.sh

run: app
	@scripts/run-app.sh

bench: native
	cmake --build $(NATIVE) -j $(JOBS) --target benchmarks
	@for b in $(NATIVE)/bench/*; do [ -f "$$b" ] && [ -x "$$b" ] && "$$b"; done; true

screenshots: windows
	@scripts/screenshots.sh

clean:
	rm -rf build
