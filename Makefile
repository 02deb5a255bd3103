# make run   - build and start Orvell Tessaro (under Wine on Linux; a screenshot without a display)
# make screenshots - pictures of the program's windows in build/screenshots
# make test  - every test: native, under Wine, and native again with sanitizers
# make bench - the benchmarks (not part of make test)
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
CONFIGURE = cmake -G Ninja -Wno-dev

.PHONY: all deps native asan windows app test run screenshots bench clean

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

# The program and the probe that drives it from outside.
app: deps
	@$(CONFIGURE_WINDOWS)
	cmake --build $(WINDOWS) -j $(JOBS) --target tessaro main_window_probe

test: native asan windows
	@scripts/run-tests.sh

run: app
	@scripts/run-app.sh

screenshots: app
	@scripts/screenshot-main.sh build/screenshots/main.png

bench: native
	cmake --build $(NATIVE) -j $(JOBS) --target benchmarks
	@for b in $(NATIVE)/bench/*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf build
