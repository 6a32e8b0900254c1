# make run   build an optimised demo and start it
# make test  build with sanitizers and run every test
JOBS ?= 2
RELEASE := build/release
TEST := build/test

.PHONY: all run test build deps test-deps clean

all: build

deps:
	@tools/install-deps.sh run

test-deps:
	@tools/install-deps.sh test

build: deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

run: build
	@tools/run-demo.sh $(RELEASE)/kelp4090

test: test-deps
	@cmake -S . -B $(TEST) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON \
	    -DKELP_SANITIZE=ON -DKELP_WERROR=ON >/dev/null
	@cmake --build $(TEST) -j $(JOBS)
	@cd $(TEST) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build
