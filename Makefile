# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing (tools/setup.sh), configure and build.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: all setup configure build run test test-asan bench fuzz clean install package

all: build

setup:
	@bash tools/setup.sh

$(BUILD)/build.ninja: | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: setup configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	bash tools/run-sample.sh $(BUILD)

$(ASAN_BUILD)/build.ninja: | setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVA_SANITIZE=ON \
	      -DMORVA_BUILD_BENCH=OFF $(CMAKE_ARGS)

test-asan: setup $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

PREFIX     ?= /usr/local

# Installs the programs, desktop entry, icons, metainfo, man and help pages
# under PREFIX (DESTDIR is honoured for staging).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/: apt-get install ./$(BUILD)/morva_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 600

# libFuzzer target over mutated page spaces; runs FUZZ_TIME seconds.
fuzz: setup
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_CXX_COMPILER=clang++ -DMORVA_FUZZ=ON -DMORVA_BUILD_GUI=OFF \
	      -DMORVA_BUILD_TESTS=OFF -DMORVA_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target decode_fuzz
	mkdir -p $(FUZZ_BUILD)/corpus/decode
	# Seeds: the first pages of the real books beside the repository.
	-head -c 32768 ../shared/books/edict-small/edsmall/data/honmon > $(FUZZ_BUILD)/corpus/decode/edict-small
	-cp ../shared/books/ebstudio-sample/test/DATA/HONMON $(FUZZ_BUILD)/corpus/decode/ebstudio-test
	$(FUZZ_BUILD)/fuzz/decode_fuzz -max_total_time=$(FUZZ_TIME) -max_len=65536 \
	      -print_final_stats=1 $(FUZZ_BUILD)/corpus/decode
