# make        build into build/ (editor at build/bin/quorvane, CLI at build/bin/qorv)
# make run    install missing packages, build, start the editor (ARGS="game.nes")
# make test   install missing packages, build, run the whole test suite
# make bench   build the benchmarks and print their table of ratios to their floors
# make sanitize  the suite under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz       every libFuzzer target in turn for FUZZ_SECONDS each (default 600)
# make fuzz-smoke every libFuzzer target for 30 s (part of CI)
# make install   build, then install under PREFIX (default /usr/local), inside DESTDIR when set
# make uninstall remove what the last make install wrote (give the same DESTDIR)
# make package   build the Debian package (build/quorvane_VERSION_ARCH.deb)
# make windows       cross-build qorv for 64-bit Windows with MinGW-w64 into build-windows/
#                    (build-windows/qorv.exe and build-windows/qorv-VERSION-windows-x64.zip)
# make test-windows  the core's and qorv's tests on that build under Wine, then qorv's
#                    outputs on Linux and under Wine compared byte for byte
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
WERROR := $(if $(CI),ON,OFF)
# ccache, where installed, makes rebuilds after a branch switch cheap.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
CLANG_FORMAT ?= clang-format
PREFIX ?= /usr/local

.PHONY: all deps configure run test bench sanitize clean format format-check install uninstall package \
        fuzz fuzz-smoke fuzz-build windows windows-configure test-windows

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
	@python3 bench/patch_sizes.py $(BUILD)/bin

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
sanitize: deps
	@test -f build-asan/CMakeCache.txt || cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build build-asan --parallel
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --parallel 2

# libFuzzer targets, built with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# their own folder. Each runs on a working corpus in that folder, seeded from
# fuzz/corpus/NAME (which stays as committed), with fuzz/NAME.dict where there is one.
# A finding stops the run with the crashing input saved as build-fuzz/crash-*.
FUZZ_BUILD ?= build-fuzz
FUZZ_TARGETS ?= ips ini document items value
FUZZ_SECONDS ?= 600

fuzz-build: deps
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON -DQV_TESTS=OFF -DQV_BENCH=OFF \
	  -DQV_WERROR=$(WERROR) $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) --parallel 2 --target $(addprefix fuzz_,$(FUZZ_TARGETS))

fuzz: fuzz-build
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  dict=; if [ -f fuzz/$$t.dict ]; then dict=-dict=fuzz/$$t.dict; fi; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s (log: $(FUZZ_BUILD)/fuzz_$$t.log)"; \
	  $(FUZZ_BUILD)/bin/fuzz_$$t $$dict -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t \
	    > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1 || { tail -n 60 $(FUZZ_BUILD)/fuzz_$$t.log; exit 1; }; \
	  grep -E "^stat::number_of_executed_units" $(FUZZ_BUILD)/fuzz_$$t.log; \
	done

fuzz-smoke:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=30

# The Windows build: core, qorv and their tests only (no Qt), with Debian's MinGW-w64,
# every library linked in, so that qorv.exe needs no DLL. Its packages are installed
# only when asked for (scripts/deps.sh windows), so that `make test` stays as it was.
# -O2 as on Linux: at -O3 MinGW's GCC 12 warns falsely inside std::string (-Wrestrict).
WIN_BUILD ?= build-windows

windows-configure:
	@scripts/deps.sh windows
	@test -f $(WIN_BUILD)/CMakeCache.txt || cmake -S . -B $(WIN_BUILD) $(GEN) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DQV_GUI=OFF -DQV_BENCH=OFF -DQV_WERROR=$(WERROR) $(LAUNCHER)

windows: windows-configure
	cmake --build $(WIN_BUILD) --parallel 2 --target all windows-zip

# The Linux qorv (from $(BUILD)) is the reference the Windows one must equal.
test-windows: windows configure
	cmake --build $(BUILD) --parallel 2 --target qorv
	cd $(WIN_BUILD) && ctest --output-on-failure --parallel 2
	tests/windows/same-output.sh $(BUILD)/bin/qorv $(WIN_BUILD)/qorv.exe $(WIN_BUILD)/wine-run

clean:
	rm -rf $(BUILD) build-asan $(FUZZ_BUILD) $(WIN_BUILD)

# Every C++ file follows .clang-format; format-check fails on the first that does not.
format:
	git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs $(CLANG_FORMAT) --dry-run --Werror
	@echo "format-check: every file follows .clang-format"
