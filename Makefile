# The two commands: `make run` (set up everything, start the game on its default data) and `make test`
# (set up everything, run every test). Each installs what is missing first.
.PHONY: run test deps build bench demos clean

JOBS := $(shell nproc 2>/dev/null || echo 2)

run: build
	mkdir -p build/data

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

# Makes the committed demos again (after the default data or the game's rules change).
demos: build
	./build/coilrun-demo-maker build/data tests/demos

clean:
	rm -rf build build-asan build-fuzz build.*.log build-asan.*.log
