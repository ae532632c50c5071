# Wraps CMake: `make run` builds and starts the editor, `make test` builds and runs every test,
# `make install` installs it (PREFIX, and DESTDIR for a staging root), `make package` builds the
# Debian package pelmar32_<version>_<arch>.deb in $(BUILD).
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=
PREFIX ?= /usr/local

.PHONY: all bootstrap configure build run test test-asan test-valgrind bench bench-micro install uninstall package clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/pelmar32 $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan. Leaks
# are looked for in the core and fuzz tests; the toolkit keeps allocations until exit, so the
# window tests and the smoke test run without leak detection. ASAN_SCOPE=core builds and runs
# only the core and fuzz tests.
ASAN_BUILD ?= build-asan
ASAN_SCOPE ?= all
ASAN_CORE_TARGETS = $(patsubst tests/core/%.cpp,core_%,$(wildcard tests/core/test_*.cpp)) \
                    $(patsubst tests/fuzz/%.cpp,corpus_%,$(wildcard tests/fuzz/fuzz_*.cpp))
SAN_ENV = QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-asan: bootstrap
	@test -f $(ASAN_BUILD)/CMakeCache.txt || cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMAR_SANITIZE=ON
ifeq ($(ASAN_SCOPE),core)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(ASAN_CORE_TARGETS)
else
	cmake --build $(ASAN_BUILD) -j $(JOBS)
endif
	cd $(ASAN_BUILD) && $(SAN_ENV) ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) -R '^(core|fuzz)/'
ifneq ($(ASAN_SCOPE),core)
	cd $(ASAN_BUILD) && $(SAN_ENV) ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS) -E '^(core|fuzz)/'
endif

# The core tests and the stored fuzz inputs again under valgrind's memory checker (the ordinary
# build in $(BUILD)): any invalid read or write, use of an undefined value or leak fails the run.
VALGRIND = valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect
test-valgrind: build
	@scripts/bootstrap valgrind
	mkdir -p $(BUILD)/valgrind
	cd $(BUILD)/tests && find . -maxdepth 1 -type f -perm -u+x -name 'core_test_*' -printf '%f\n' | \
	  xargs -P $(JOBS) -I{} sh -c '$(VALGRIND) ./{} --gtest_brief=1 >../valgrind/{}.log 2>&1 && \
	  echo "valgrind: {} clean" || { cat ../valgrind/{}.log; echo "valgrind: {} FAILED"; exit 1; }'
	cd $(BUILD)/tests/fuzz && for t in $$(find . -maxdepth 1 -type f -perm -u+x -name 'corpus_fuzz_*' -printf '%f\n'); do \
	  $(VALGRIND) ./$$t $(CURDIR)/tests/fuzz/corpus/$${t#corpus_} >/dev/null || exit 1; echo "valgrind: $$t clean"; done

# The side-by-side table (medians of 5 runs; written to $(BUILD)/bench/compare.md). Options go
# through BENCH_ARGS, e.g. BENCH_ARGS="--runs 7" or BENCH_ARGS="--subjects pelmar,floor".
BENCH_ARGS ?=
bench: configure
	@scripts/bench-setup
	cmake -S . -B $(BUILD) -DPELMAR_BENCH=ON
	cmake --build $(BUILD) --target bench_compare -j $(JOBS)
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_compare $(BENCH_ARGS)

# The Google Benchmark programs of single operations.
bench-micro: configure
	cmake -S . -B $(BUILD) -DPELMAR_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] && [ "$${b##*/}" != bench_compare ] || continue; \
	  QT_QPA_PLATFORM=offscreen "$$b" || exit 1; \
	done

install: configure
	cmake --build $(BUILD) --target pelmar32 -j $(JOBS)
	cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what the last `make install` put in place, and the program's own data folder.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	@while read -r f || [ -n "$$f" ]; do rm -f "$(DESTDIR)$$f"; done < $(BUILD)/install_manifest.txt
	@rmdir "$(DESTDIR)$(PREFIX)/share/pelmar32/help" "$(DESTDIR)$(PREFIX)/share/pelmar32" 2>/dev/null || true

package: configure
	cmake --build $(BUILD) --target pelmar32 -j $(JOBS)
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
