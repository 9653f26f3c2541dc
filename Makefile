SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -c
# The two commands that matter: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps.sh), then build with CMake and Ninja.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# A compiler cache, where one is installed, shared by every build folder.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache,)

.PHONY: all deps build run test test-asan bench fuzz format screenshots install package clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) -DKORVEX48_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKORVEX48_BENCH=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/gui/korvex48 ]; then \
	  $(BUILD)/src/gui/korvex48 --simulate; \
	else \
	  echo "The editor is not built yet. Built so far:"; \
	  find $(BUILD) -maxdepth 4 -type f -perm -u+x \( -name 'korvex48*' -o -name 'test_*' \) | sort; \
	fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan

# The core, the backends and the command-line tool again under ASan and UBSan.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja $(LAUNCHER) -DKORVEX48_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DKORVEX48_SANITIZE=ON \
	  -DKORVEX48_GUI=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The benchmarks are built by every build (so a change that breaks one fails
# `make test`) and run here, from the same optimised build the tests use.
bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done
	@if [ -x scripts/bench-gui.sh ] && [ -x $(BUILD)/src/gui/korvex48 ]; then \
	  scripts/bench-gui.sh $(BUILD); fi

# Each target runs FUZZ_SECONDS even when one before it stopped on a finding.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DKORVEX48_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKORVEX48_FUZZ=ON -DKORVEX48_GUI=OFF -DKORVEX48_CLI=OFF -DKORVEX48_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@failed=""; for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  name=$$(basename $$f); corpus=fuzz/corpus/$${name#fuzz_}; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$name $(FUZZ_BUILD)/findings; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$name- \
	    $(FUZZ_BUILD)/corpus/$$name $$corpus 2>&1 | tail -n 2 || failed="$$failed $$name"; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: stopped early:$$failed"; fi; \
	if ls $(FUZZ_BUILD)/findings/* >/dev/null 2>&1; then \
	  echo "fuzz: findings in $(FUZZ_BUILD)/findings"; exit 1; fi; \
	[ -z "$$failed" ]

format:
	@find src tests fuzz bench tools -name '*.cpp' -o -name '*.h' -o -name '*.c' | xargs -r clang-format -i

screenshots: build
	@./scripts/screenshots.sh $(BUILD)

# Both programs, the udev rule, desktop entry, icons, metainfo, man pages and
# bash completion under $(DESTDIR)$(PREFIX) (make install PREFIX=$$HOME/.local).
install: build
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package in $(BUILD)/ (dependencies from dpkg-shlibdeps).
package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
