# The two set-up commands of the README are `make run` and `make test`; the rest are helpers.
.PHONY: deps build stage run test sanitize bench format fuzz clean

JOBS ?= $(shell nproc)

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

bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	for b in $$(find build-bench/bench -maxdepth 1 -type f -executable -name 'bench_*'); do "$$b"; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-sanitize build-bench build-fuzz
