# The two set-up commands of the README are `make run` and `make test`; the rest are helpers.
.PHONY: deps build stage run test sanitize bench format fuzz clean windows windows-test windows-installer windows-installer-test mutants mutants-rules \
	mutants-patches deb

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
		build-fuzz/store-corpus tests/settings/store-corpus

# The Windows build: Qt cross-built once per machine from Debian's own source (scripts/build-windows-qt),
# then Tolvik and its tests with MinGW-w64, staged in build-windows/stage with the host's manual.
windows: stage
	@scripts/install-deps librsvg2-bin icoutils
	scripts/build-windows-qt $(JOBS)
	build-windows/qt/bin/qt-cmake -S . -B build-windows/tolvik -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$$(gcc -print-multiarch)/cmake \
		-DTOLVIK_MANUAL=$(CURDIR)/build/stage/Quenwick/Tolvik/manual.pdf \
		-DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/scripts/wine-run
	cmake --build build-windows/tolvik -j $(JOBS)
	rm -rf build-windows/stage
	cmake --install build-windows/tolvik --prefix build-windows/stage

# The setup program, build-windows/TolvikSetup-<version>.exe (NSIS): scripts/build-windows-installer.
windows-installer: windows
	scripts/build-windows-installer

# Installs, starts, runs a demo with and uninstalls the setup program under Wine on Xvfb, in a private
# prefix: scripts/windows-installer-test.
windows-installer-test: windows-installer
	scripts/windows-installer-test

# The shared tests and those of Windows alone, under Wine.
windows-test: windows
	ctest --test-dir build-windows/tolvik --output-on-failure

# Both checks of the suite's strength, in one scratch copy (build-mutants/); fails if either leaves a
# survivor, and runs the second whatever the first found.
mutants:
	@status=0; $(MAKE) --no-print-directory mutants-rules || status=1; \
	$(MAKE) --no-print-directory mutants-patches || status=1; exit $$status

# Mutants made by rule (scripts/mutate) on the lines changed since the branch left BASE, uncommitted
# changes and new files included; BASE= takes every line. MUTANTS=N runs a sample of N, the same for
# the same SEED. Survivors listed in tests/mutants/equivalent.txt count as equivalent. AGAIN=REPORT
# runs just the mutants an earlier report names, its survivors say, once tests are added for them.
BASE ?= main
MUTANTS ?=
SEED ?= 1
AGAIN ?=
mutants-rules: deps
	@scripts/install-deps python3-clang ccache
	/usr/bin/python3 -m unittest discover -q -s scripts/mutation -t scripts
	scripts/mutate --base '$(BASE)' --mutants '$(MUTANTS)' --seed '$(SEED)' $(if $(AGAIN),--again '$(AGAIN)')

# The Debian package, in build-deb/, checked by lintian: scripts/build-deb.
deb:
	@scripts/install-deps debhelper dpkg-dev lintian
	scripts/build-deb

# Applies each hand-made slip of tests/mutants/ in the scratch copy and reports how many the suite catches.
mutants-patches: deps
	@scripts/install-deps patch ccache
	scripts/mutants

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# The cross-built Qt in build-windows/qt is kept: it takes half an hour to make.
clean:
	rm -rf build build-deb build-sanitize build-bench build-fuzz build-mutants build-windows/tolvik build-windows/stage \
		build-windows/installer build-windows/TolvikSetup-*.exe
