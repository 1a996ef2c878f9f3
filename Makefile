# The two set-up commands of the README are `make run` and `make test`; the rest are helpers.
.PHONY: deps build stage run test sanitize bench format fuzz clean

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600

deps:
	@scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

stage: build
	rm -rf build/stage
	cmake --install build --prefix build/stage

run: stage
	build/stage/Quenwick/Tolvik/tolvik

test: build
	ctest --preset default -j $(JOBS)

sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

# The start-up benchmark needs a display: it runs under Xvfb.
bench: deps
	@scripts/install-deps libx11-dev
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	build-bench/bench/bench_store
	build-bench/bench/bench_layout
	build-bench/bench/bench_runwindow
	xvfb-run -a build-bench/bench/bench_startup build-bench/src/tolvik build-bench/bench/bare_window 9

# Fuzzes the input-file reader and the settings store's parser, FUZZ_SECONDS each; new findings collect in
# build-fuzz/corpus and build-fuzz/store-corpus, seeded from the kept corpora.
fuzz: deps
	@scripts/install-deps clang libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzz_reader fuzz_store -j $(JOBS)
	mkdir -p build-fuzz/corpus build-fuzz/store-corpus
	build-fuzz/fuzz_reader -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -timeout=10 \
		build-fuzz/corpus tests/files/fuzz-corpus
	build-fuzz/fuzz_store -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -timeout=10 \
		build-fuzz/store-corpus tests/platform/store-corpus

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-sanitize build-bench build-fuzz
