# The two commands: `make run` (set up what playing needs, start the game on its default data) and
# `make test` (set up everything, run every test). Each installs what is missing first.
.PHONY: run test deps build build-game deb bench demos screenshots fuzz clean web web-run windows

JOBS := $(shell nproc 2>/dev/null || echo 2)

run: build-game
	cd build/data && ../coilrun

test: deps
	scripts/run-tests.sh

deps:
	@scripts/install-deps.sh test

# Only the game, the data tool and the default data: no tests, benchmarks, fuzz targets or demo maker. It
# shares the tests' build folder, so that after a `make test` it compiles nothing new.
build-game:
	@scripts/install-deps.sh run
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOILRUN_TESTS=OFF
	cmake --build build -j $(JOBS)

# Everything, for the benchmarks, the demos and the screenshots.
build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOILRUN_TESTS=ON
	cmake --build build -j $(JOBS)

# The Debian package, build/deb/coilrun_<version>_<arch>.deb, built from a copy of the source.
deb: deps
	scripts/build-deb.sh

bench: build
	./build/coilrun-bench
	SDL_VIDEODRIVER=dummy ./build/coilrun-bench-pacing

# Renders the README's pictures again from the in-memory device layer.
screenshots: build
	./build/coilrun-screens build/data docs/screens

# Makes the committed demos and the golden game's recording and expected summary again (after the default
# data or the game's rules change), then says which final states, SCORE.DAT bytes, sounds and frame
# checksums differ from the committed files: what the re-recording would accept.
DEMO_FILES = tests/demos/*.expected tests/demos/*.rec tests/golden/*.expected tests/golden/*.rec
demos: build
	@rm -rf build/demos-saved && mkdir -p build/demos-saved && cp $(DEMO_FILES) build/demos-saved/
	./build/coilrun-demo-maker build/data tests/demos tests/golden
	@python3 tests/demos/changes.py build/demos-saved $(DEMO_FILES)

# Builds the libFuzzer targets with clang and runs each for 60 s from its seed corpus.
fuzz: build
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCOILRUN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
	cmake --build build-fuzz -j $(JOBS)
	for f in build-fuzz/*-fuzz; do n=$$(basename $$f | tr - _); mkdir -p build-fuzz/corpus/$$n; \
	  ./build/coilrun-fuzz-corpus $$n build-fuzz/corpus/$$n && $$f -max_total_time=60 build-fuzz/corpus/$$n || exit 1; done

# The browser build: build/web holds the page with its web app manifest, icons and service worker, coilrun.js,
# coilrun.wasm, the default data and the demos, static files for any web server; Emscripten compiles in
# build-web. `make web-run` serves them.
web: build
	scripts/build-web.sh

web-run: web
	@echo "Coilrun in the browser: http://127.0.0.1:8000/  (Ctrl+C stops the server)"
	@cd build/web && python3 -m http.server 8000 --bind 127.0.0.1 >/dev/null

# The Windows download, build/windows/coilrun-<version>-windows-x64.zip, cross-built with mingw-w64 in
# build-windows; the data tool runs under Wine to make the default data.
windows:
	@scripts/install-deps.sh windows
	scripts/build-windows.sh

clean:
	rm -rf build build-asan build-fuzz build-web build-windows build.*.log build-asan.*.log build-web.*.log \
	  build-windows.*.log
