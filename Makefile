# The two commands: `make run` (set up everything, start the game on its default data) and `make test`
# (set up everything, run every test). Each installs what is missing first.
.PHONY: run test deps build bench demos screenshots fuzz clean

JOBS := $(shell nproc 2>/dev/null || echo 2)

run: build
	cd build/data && ../coilrun

test: deps
	scripts/run-tests.sh

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

bench: build
	./build/coilrun-bench
	SDL_VIDEODRIVER=dummy ./build/coilrun-bench-pacing

# Renders the README's pictures again from the in-memory device layer.
screenshots: build
	./build/coilrun-screens build/data docs/screens

# Makes the committed demos and the golden game's recording and expected summary again (after the default
# data or the game's rules change): review the changed expected files.
demos: build
	./build/coilrun-demo-maker build/data tests/demos tests/golden

# Builds the libFuzzer targets with clang and runs each for 60 s from its seed corpus.
fuzz: build
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCOILRUN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
	cmake --build build-fuzz -j $(JOBS)
	for f in build-fuzz/*-fuzz; do n=$$(basename $$f | tr - _); mkdir -p build-fuzz/corpus/$$n; \
	  ./build/coilrun-fuzz-corpus $$n build-fuzz/corpus/$$n && $$f -max_total_time=60 build-fuzz/corpus/$$n || exit 1; done

clean:
	rm -rf build build-asan build-fuzz build.*.log build-asan.*.log
