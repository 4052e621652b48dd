# The two commands of the README: `make demo` and `make test`.
JOBS ?= 2
RELEASE_DIR := build/release
TEST_DIR := build/test

.PHONY: deps demo demo-catalogue calculator test release test-build bench clean format

deps:
	bash scripts/install-deps.sh

release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)

demo: release
	$(RELEASE_DIR)/apps/pinsum/pinsum solve --catalogue $(RELEASE_DIR)/data/iodb.pp \
		--request data/request.json

# The desktop calculator on the sample catalogue: pinsum-host loads libpinsum.so beside it.
calculator: release
	$(RELEASE_DIR)/calculator/pinsum-host

demo-catalogue: release
	$(RELEASE_DIR)/apps/pinsum/pinsum catalogue show $(RELEASE_DIR)/data/iodb.pp

test-build: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DPINSUM_WERROR=ON -DPINSUM_SANITIZE=ON \
		-DPINSUM_FUZZ=ON
	cmake --build $(TEST_DIR) -j$(JOBS)

test: test-build
	cd $(TEST_DIR) && ctest --output-on-failure -j$(JOBS)

BENCH_DIR := build/bench

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF \
		-DPINSUM_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j$(JOBS)
	$(BENCH_DIR)/bench/pinsum_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
