# make run   build an optimised demo and start it
# make test  build with sanitizers and run every test
# make fuzz  run libFuzzer on every fuzz target for FUZZ_SECONDS each
# make mutants  plant small faults one at a time and count those the tests catch
JOBS ?= 2
RELEASE := build/release
TEST := build/test
# The threads of the audio output meet only in these tests' programs.
TSAN := build/tsan
TSAN_TARGETS := audio_tests audio_thread_tests
TSAN_TESTS := ^(AudioCallback|AudioDevice|AudioThread|Music|MusicStep)\.

.PHONY: all run test build deps test-deps clean fuzz pictures

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

test: test-deps
	@cmake -S . -B $(TEST) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON \
	    -DKELP_SANITIZE=ON -DKELP_WERROR=ON >/dev/null
	@cmake --build $(TEST) -j $(JOBS)
	@cd $(TEST) && ctest --output-on-failure -j $(JOBS)
	@# The audio tests again, under ThreadSanitizer.
	@cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON \
	    -DKELP_TSAN=ON -DKELP_WERROR=ON >/dev/null
	@cmake --build $(TSAN) -j $(JOBS) --target $(TSAN_TARGETS)
	@cd $(TSAN) && ctest --output-on-failure -j $(JOBS) --no-tests=error -R '$(TSAN_TESTS)'

# Every tests/fuzz/fuzz_<name>.cpp defines the fuzz target <name>. Each runs
# on a scratch copy of its seed corpus, so new inputs stay out of the tree;
# crashes land in build/fuzz/crashes.
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(basename $(notdir $(wildcard tests/fuzz/fuzz_*.cpp)))

fuzz:
	@tools/install-deps.sh fuzz
	@CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_FUZZ=ON \
	    -DKELP_SANITIZE=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for target in $(FUZZ_TARGETS); do \
	    scratch=$(FUZZ)/corpus/$$target; \
	    rm -rf $$scratch && mkdir -p $$scratch $(FUZZ)/crashes; \
	    cp tests/fuzz/corpus/$$target/* $$scratch/ 2>/dev/null || true; \
	    echo "fuzzing $$target for $(FUZZ_SECONDS) s"; \
	    $(FUZZ)/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) \
	        -artifact_prefix=$(FUZZ)/crashes/$$target- $$scratch || exit 1; \
	done

# make pictures  draw the embedded pictures and write them as PNG to pictures/
pictures: test-deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target pictures

# Slow (a build and a test run per fault); not part of make test.
.PHONY: mutants
mutants: test-deps
	@tools/mutants.sh

clean:
	rm -rf build
