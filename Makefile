# Quick start: `make run` starts the program, `make test` runs every test.
# Both install what is missing first (Debian 12, apt-get).

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# WERROR=ON makes every compiler warning an error, as CI builds do.
WERROR ?= OFF

.PHONY: all deps configure build test run install package bench format clean
.PHONY: test-sanitize fuzz

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DTESSAVOX_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	@./scripts/run-example.sh $(BUILD_DIR) examples/peterson-barney-men.txt

# `sudo make install`, or `make install PREFIX=$$HOME/.local`; DESTDIR stages a package.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, tessavox_VERSION_ARCH.deb in the build folder:
# `sudo apt install ./build/tessavox_*.deb`.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/tessavox_*.deb

bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSAVOX_BENCH=ON \
		-DTESSAVOX_TESTS=OFF >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@mkdir -p $(BUILD_DIR)-bench/results && rm -f $(BUILD_DIR)-bench/results/*.json
	@for s in bench/bench_*.cpp; do \
		b=$(BUILD_DIR)-bench/bench/$$(basename $$s .cpp); \
		if [ -x "$$b" ]; then \
			"$$b" --benchmark_out=$(BUILD_DIR)-bench/results/$$(basename $$b).json \
				--benchmark_out_format=json || exit 1; \
		fi; \
	done
	@$(BUILD_DIR)-bench/bench/benchreport $(BUILD_DIR)-bench/results/*.json

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own
# build dir; any report fails the run. Leaks are checked too; a leak that Qt or a system
# library makes by design would be named in scripts/lsan.supp (none is needed today).
test-sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DTESSAVOX_SANITIZE=ON -DTESSAVOX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --test-dir $(BUILD_DIR)-sanitize --output-on-failure -j $(JOBS)

# Each libFuzzer target in fuzz/ for FUZZ_SECONDS (clang build in its own dir).
FUZZ_SECONDS ?= 60
fuzz:
	@./scripts/run-fuzzers.sh $(BUILD_DIR)-fuzz $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
