# make run   build an optimised demo and start it
# make test  build with sanitizers and run every test
# make check  the sanitizer build's tests alone: no ThreadSanitizer, no browser
# make install  install the demo under PREFIX (default /usr/local), in DESTDIR if set
# make deb   build the Debian package build/kelp4090_<version>_<architecture>.deb
# make references  rewrite the stored references in tests/reference
# make fuzz  run libFuzzer on every fuzz target for FUZZ_SECONDS each
# make web   build the demo for browsers into build/web/; make web-serve serves it
# make web-benchmark  time every part's drawing in the browser and natively, side by side
# make mutants  plant small faults one at a time and count those the tests catch
JOBS ?= 2
RELEASE := build/release
TEST := build/test
# The threads of the audio output meet only in these tests' programs.
TSAN := build/tsan
TSAN_TARGETS := audio_tests audio_thread_tests
TSAN_TESTS := ^(AudioCallback|AudioDevice|AudioThread|Music|MusicStep)\.

.PHONY: all run test check build deps test-deps clean fuzz pictures references web web-serve web-test \
	web-benchmark install deb

all: build

deps:
	@tools/install-deps.sh run

test-deps:
	@tools/install-deps.sh test

build: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

run: build
	@tools/run-demo.sh $(RELEASE)/kelp4090 $(RELEASE)/kelp4090-capture

# The unit and whole-program tests under AddressSanitizer and UBSan: the
# quick loop while working. make test runs them and the rest.
check: test-deps
	@cmake -S . -B $(TEST) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON \
	    -DKELP_SANITIZE=ON -DKELP_WERROR=ON -DKELP_PACKAGE_DIR=$(CURDIR)/$(PACKAGE_DIR) >/dev/null
	@cmake --build $(TEST) -j $(JOBS)
	@# The package the install tests unpack, and sdl12-compat for the window tests.
	@$(MAKE) --no-print-directory deb >/dev/null
	@tools/fetch-sdl12-compat.sh $(TEST)/sdl12-compat
	@cd $(TEST) && ctest --output-on-failure -j $(JOBS)

test: check
	@# The audio tests again, under ThreadSanitizer.
	@cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON \
	    -DKELP_TSAN=ON -DKELP_WERROR=ON >/dev/null
	@cmake --build $(TSAN) -j $(JOBS) --target $(TSAN_TARGETS)
	@cd $(TSAN) && ctest --output-on-failure -j $(JOBS) --no-tests=error -R '$(TSAN_TESTS)'
	@$(MAKE) --no-print-directory web-test

# Every tests/fuzz/fuzz_<name>.cpp defines the fuzz target <name>. Each runs
# on a scratch copy of its seed corpus, so new inputs stay out of the tree;
# crashes (and inputs that run over 2 s, so hangs are found) land in
# build/fuzz/crashes, each run's output in build/fuzz/logs. At the end the
# executions of every target are listed, with the machine's load.
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(basename $(notdir $(wildcard tests/fuzz/fuzz_*.cpp)))
FUZZ_FLAGS := -timeout=2 -print_final_stats=1
# Each run stands alone, so 16 MB of quarantine (thousands of runs' frees)
# still catches a use after free within one. The default 256 MB hands every
# run fresh pages for its stdio buffers, and the page faults cost the file
# readers' targets two thirds of their time.
FUZZ_ASAN := ASAN_OPTIONS=quarantine_size_mb=16

fuzz:
	@tools/install-deps.sh fuzz
	@CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_FUZZ=ON \
	    -DKELP_SANITIZE=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for target in $(FUZZ_TARGETS); do \
	    scratch=$(FUZZ)/corpus/$$target; log=$(FUZZ)/logs/$$target.log; \
	    rm -rf $$scratch && mkdir -p $$scratch $(FUZZ)/crashes $(FUZZ)/logs; \
	    cp tests/fuzz/corpus/$$target/* $$scratch/ 2>/dev/null || true; \
	    echo "fuzzing $$target for $(FUZZ_SECONDS) s"; \
	    $(FUZZ_ASAN) $(FUZZ)/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) $(FUZZ_FLAGS) \
	        -artifact_prefix=$(FUZZ)/crashes/$$target- $$scratch 2>$$log || { tail -n 40 $$log; exit 1; }; \
	done
	@echo "executions per target, load average $$(cut -d' ' -f1-3 /proc/loadavg):"
	@for target in $(FUZZ_TARGETS); do \
	    awk -v target=$$target '/^stat::number_of_executed_units/ { runs = $$2 } \
	        /^stat::average_exec_per_sec/ { rate = $$2 } \
	        END { printf "  %-28s %10d runs %8d per second\n", target, runs, rate }' $(FUZZ)/logs/$$target.log; \
	done

# make pictures  draw the embedded pictures and write them as PNG to pictures/
pictures: test-deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target pictures

# After an intentional change of pictures, texts, sound or behaviour: renders
# every reference the tests compare against anew and says which changed.
references: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target make_references
	@$(RELEASE)/tools/references/make_references

# Slow (a build and a test run per fault); not part of make test.
# FAULTS="NAME ..." tries only the named faults of tools/mutants.sh.
.PHONY: mutants
mutants: test-deps
	@tools/mutants.sh $(FAULTS)

clean:
	rm -rf build

# Installs from the optimised build; cmake --install takes the prefix and
# DESTDIR from here. make deb checks its package with lintian.
PREFIX ?= /usr/local
PACKAGE_DIR := build

install: build
	@PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" tools/install.sh $(RELEASE)

deb: build
	@tools/make-deb.sh $(RELEASE) $(PACKAGE_DIR)

# The browser build: emscripten compiles the modules; the pictures and the
# wave table come from the native generators in $(RELEASE). emcc's optimiser
# finds acorn through NODE_PATH when the node on the path is not Debian's.
WEB := build/web
WEB_CMAKE := build/web-cmake
WEB_PORT := 8090
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

web:
	@tools/install-deps.sh web
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target kelp_waves kelp_assets >/dev/null
	@$(EMSCRIPTEN_ENV) emcmake cmake -S web -B $(WEB_CMAKE) -DKELP_GENERATED=$(CURDIR)/$(RELEASE)/tools \
	    -DKELP_WEB_OUT=$(CURDIR)/$(WEB) -DKELP_WERROR=ON >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_CMAKE) -j $(JOBS)

web-serve: web
	@echo "KELP4090 at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops)"
	@python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB)

# Headless Chromium checks the page against the stored references.
web-test: web
	@node tests/web/web_test.mjs tests/reference $(WEB)

# The browser's drawing beside the optimised native program's: the same
# benchmark loop in the page and in kelp4090-capture --benchmark, in turns.
web-benchmark: test-deps web
	@cmake --build $(RELEASE) -j $(JOBS) --target kelp4090-capture >/dev/null
	@node tests/web/web_test.mjs tests/reference $(WEB) --benchmark $(RELEASE)/kelp4090-capture
