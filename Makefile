# make run    build and start the program under Wine (headless: screenshot, then close)
# make test   build, then run the unit tests, the window tests and a short run of each fuzzer
# make fuzz   build the fuzz targets, then run each for FUZZ_SECONDS
# make bench  build, then measure: start-up and idle cost under Wine, the notes natively (optimised), picking a day under Wine
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 300
# Extra arguments for the notes benchmarks, e.g. BENCH_ARGS=--benchmark_filter=note_store
BENCH_ARGS ?=

.PHONY: all deps configure build test run fuzz bench bench-notes clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

run: build
	@scripts/run.sh $(BUILD)

# Only the fuzz targets are built; the fuzzers add what they find to $(BUILD)/fuzz/corpus.
fuzz: configure
	@cmake --build $(BUILD) -j $(JOBS) --target fuzz
	@tests/fuzz/run.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

bench: build
	@bench/startup.sh $(BUILD)
	@bench/idle.sh $(BUILD)
	@$(MAKE) --no-print-directory bench-notes
	@bench/selection.sh $(BUILD)

# A build of its own: the test build's sanitizers would make the figures meaningless.
bench-notes: deps
	@cmake -S . -B $(BUILD)/bench-native -DCMAKE_BUILD_TYPE=Release -DDAYVANE_SANITIZE=OFF \
		-DDAYVANE_NATIVE_ONLY=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BUILD)/bench-native -j $(JOBS) --target notes_bench
	@$(BUILD)/bench-native/bench/notes/notes_bench $(BENCH_ARGS)

clean:
	rm -rf $(BUILD)
