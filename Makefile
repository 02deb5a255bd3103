# make run   - build and start Orvell Tessaro (under Wine on Linux; a screenshot without a display)
# make test  - every test: native, under Wine, and native again with sanitizers
# make bench - the benchmarks (not part of make test)
# make screenshots - pictures of the main window, the previews, the update notice and the About window
#                    under Wine + Xvfb, in build/screenshots
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
CONFIGURE = cmake -G Ninja -Wno-dev

.PHONY: all deps native asan windows app test run bench screenshots clean

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

bench: native
	cmake --build $(NATIVE) -j $(JOBS) --target benchmarks
	@for b in $(NATIVE)/bench/*; do [ -x "$$b" ] && "$$b"; done; true

screenshots: windows
	@mkdir -p build/screenshots
	@scripts/wine-prefix.sh "$(CURDIR)/$(WINDOWS)/wineprefix"
	xvfb-run -a -s "-screen 0 1920x1080x24" scripts/wine-run.sh $(WINDOWS)/bin/preview_screenshots.exe 'Z:$(CURDIR)/build/screenshots'
	@for f in plan gdi3d d3d9; do convert build/screenshots/$$f.bmp build/screenshots/$$f.png && rm build/screenshots/$$f.bmp; done
	@scripts/screenshot-main.sh build/screenshots/main.png
	@scripts/screenshot-update.sh build/screenshots
	@ls build/screenshots

clean:
	rm -rf build
