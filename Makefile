# make        build into build/ (editor at build/bin/quorvane, CLI at build/bin/qorv)
# make run    install missing packages, build, start the editor (ARGS="game.nes")
# make test   install missing packages, build, run the whole test suite
# make bench   build the benchmarks and print their table of ratios to their floors
# make sanitize  the suite under AddressSanitizer and UndefinedBehaviorSanitizer
# make install   build, then install under PREFIX (default /usr/local), inside DESTDIR when set
# make uninstall remove what the last make install wrote (give the same DESTDIR)
# make package   build the Debian package (build/quorvane_VERSION_ARCH.deb)
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
WERROR := $(if $(CI),ON,OFF)
# ccache, where installed, makes rebuilds after a branch switch cheap.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
CLANG_FORMAT ?= clang-format
PREFIX ?= /usr/local

.PHONY: all deps configure run test bench sanitize clean format format-check install uninstall package

all: configure
	cmake --build $(BUILD) --parallel

deps:
	@scripts/deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GEN) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQV_WERROR=$(WERROR) $(LAUNCHER)

run: all
	$(BUILD)/bin/quorvane $(ARGS)

test: all format-check
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2

install: all
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" cmake -DMANIFEST=$(abspath $(BUILD))/install_manifest.txt -P cmake/uninstall.cmake

package: all
	cd $(BUILD) && cpack -G DEB

# One table: every figure beside its floor from the same run, the ratio and its goal.
bench: configure
	cmake --build $(BUILD) --parallel 2 --target benchmarks
	@python3 bench/run.py $(BUILD)/bin

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
sanitize: deps
	@test -f build-asan/CMakeCache.txt || cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build build-asan --parallel
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --parallel 2

clean:
	rm -rf $(BUILD) build-asan

# Every C++ file follows .clang-format; format-check fails on the first that does not.
format:
	git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) --dry-run --Werror
	@echo "format-check: every file follows .clang-format"
