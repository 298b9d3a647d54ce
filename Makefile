# make test   builds everything and runs every test (installs what is missing first)
# make demo   builds the kit and shows it working
# make bench  prints the benchmarks' figures beside their references (bench/)
# make fuzz   runs the fuzz targets for longer (FUZZ_SECONDS each, default 300)
#
# Four out-of-tree builds under build/: native (g++ with ASan/UBSan), fuzz
# (clang with libFuzzer), win64 (x86_64 MinGW, tests run under wine64) and
# win32 (i686 MinGW, the release build). Programs land in dist/.

SHELL := /bin/bash
BUILD := build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 300
BENCH_MB ?= 200
CMAKE_GEN := -G Ninja

.PHONY: all bootstrap build native fuzz-build win64 win32 test demo fuzz bench clean

all: build

bootstrap:
	@scripts/bootstrap.sh

native: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZR_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

fuzz-build: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZR_TESTS=OFF -DZR_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

win64: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/win64 -j $(JOBS)

win32: bootstrap
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DZR_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)/win32 -j $(JOBS)

build: native fuzz-build win64 win32
	@printf 'subdirs("native" "fuzz" "win64")\n' > $(BUILD)/CTestTestfile.cmake

# One CTest run over the three test trees, inside one Wine session.
test: build
	@scripts/wine-session ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo.sh

# Benchmarks want an optimised native build of their own, next to the programs.
bench: win64 win32
	@command -v makensis >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q nsis >/dev/null
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZR_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS) --target package_bench
	@scripts/wine-session bench/package.sh $(BENCH_MB)

fuzz: fuzz-build
	@scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)/native $(BUILD)/bench $(BUILD)/fuzz $(BUILD)/win64 $(BUILD)/win32 $(BUILD)/CTestTestfile.cmake dist
