# The two commands of the README: `make demo` and `make test`.
JOBS ?= 2
RELEASE_DIR := build/release
TEST_DIR := build/test

.PHONY: deps demo demo-catalogue calculator planner web web-site web-serve test test-tsan release test-build golden bench fuzz-long clean format

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

# The planner on a copy of the sample catalogue; the copy keeps its edits until it is deleted.
PLANNER_COPY := $(RELEASE_DIR)/planner/iodb.pp
planner: release
	mkdir -p $(dir $(PLANNER_COPY))
	test -f $(PLANNER_COPY) || cp $(RELEASE_DIR)/data/iodb.pp $(PLANNER_COPY)
	$(RELEASE_DIR)/calculator/pinsum-host --documents $(PLANNER_COPY)

# The calculator in a browser: the engine built with emscripten into build/web, beside the page
# and the sample catalogue (which the native tool builds).
WEB_DIR := build/web
WEB_BUILD_DIR := build/web-build
WEB_PORT ?= 8015
# Debian's emscripten finds its optimiser's parser there.
export NODE_PATH := /usr/share/nodejs

web-site: deps
	emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF \
		-DPINSUM_WEB_DIR=$(CURDIR)/$(WEB_DIR)
	cmake --build $(WEB_BUILD_DIR) -j$(JOBS)

web: release web-site
	cp $(RELEASE_DIR)/data/iodb.pp data/request.json $(WEB_DIR)/

web-serve: web
	python3 scripts/web_serve.py $(WEB_DIR) $(WEB_PORT)

demo-catalogue: release
	$(RELEASE_DIR)/apps/pinsum/pinsum catalogue show $(RELEASE_DIR)/data/iodb.pp

# With emscripten present the browser page is built too and tested in headless Chromium.
test-build: deps
	if command -v emcc >/dev/null; then $(MAKE) web-site; fi
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DPINSUM_WERROR=ON -DPINSUM_SANITIZE=ON \
		-DPINSUM_FUZZ=ON $$(command -v emcc >/dev/null && echo -DPINSUM_WEB_SITE=$(CURDIR)/$(WEB_DIR))
	cmake --build $(TEST_DIR) -j$(JOBS)

test: test-build
	cd $(TEST_DIR) && ctest --output-on-failure -j$(JOBS)

# Rewrites tests/cli/expected/ from the current program; review the diff before committing it.
golden: release
	PINSUM_REGENERATE_GOLDEN=1 bash tests/cli/golden_cli.sh $(RELEASE_DIR)/apps/pinsum/pinsum $(CURDIR)

# The threaded parts under ThreadSanitizer: the host, solver and update test programs (the
# workers, the stop event, the FTP thread and the flows). Not part of `make test`: it is slow.
TSAN_DIR := build/tsan
TSAN_OPTIONS ?= halt_on_error=1 second_deadlock_stack=1

test-tsan: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DPINSUM_WERROR=ON -DPINSUM_TSAN=ON
	cmake --build $(TSAN_DIR) -j$(JOBS) --target pinsum_host_tests pinsum_solver_tests \
		pinsum_update_tests
	for layer in host solver update; do \
		TSAN_OPTIONS="$(TSAN_OPTIONS)" $(TSAN_DIR)/tests/pinsum_$${layer}_tests --gtest_brief=1 \
			|| exit 1; \
	done

BENCH_DIR := build/bench

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF \
		-DPINSUM_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j$(JOBS)
	$(BENCH_DIR)/bench/pinsum_bench

# The long fuzz campaign, beyond the bounded runs of `make test`: every fuzzer for
# FUZZ_RUNS inputs or FUZZ_TIME seconds (0: no limit), whichever ends first.
FUZZ_DIR := build/fuzz
FUZZ_RUNS ?= 10000000
FUZZ_TIME ?= 0

fuzz-long: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF -DPINSUM_FUZZ=ON
	cmake --build $(FUZZ_DIR) --target pinsum_fuzzers -j$(JOBS)
	bash scripts/fuzz-long.sh $(FUZZ_DIR) $(FUZZ_RUNS) $(FUZZ_TIME)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
