# make run    build only the program, its help and the screenshot tool, and start the program under
#             Wine (headless: screenshot, then close)
# make test   build, then run the unit tests, the window tests and a short run of each fuzzer
# make fuzz   build the fuzz targets, then run each for FUZZ_SECONDS
# make dist   build, then show the zip and the MSI package for Windows users: $(BUILD)/dist/dayvane-<version>-win64.zip and .msi
# make bench  build, then measure start-up, idle CPU, peak working set and size under Wine against a minimal window
#             (start-up and working set also at 144 DPI against the floor), the notes, their export and the
#             iCalendar import natively (optimised), picking a day and finding a note under Wine; writes $(BUILD)/bench/report.md
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 300
# Extra arguments for the notes benchmarks, e.g. BENCH_ARGS=--benchmark_filter=note_store
BENCH_ARGS ?=

.PHONY: all deps deps-run configure configure-run build test run dist fuzz bench bench-notes clean

all: build

deps:
	@scripts/install-deps.sh all

deps-run:
	@scripts/install-deps.sh run

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Only what make run starts: the program, its help file and the screenshot tool of the
# Windows build.
configure-run: deps-run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) --target windows-configure >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

run: configure-run
	@cmake --build $(BUILD)/windows -j $(JOBS) --target dayvane help_file snapshot
	@scripts/run.sh $(BUILD)

# Every build packs the zip and the MSI package; this says where they are.
dist: build
	@ls $(BUILD)/dist/dayvane-*-win64.zip $(BUILD)/dist/dayvane-*-win64.msi

# Only the fuzz targets are built; the fuzzers add what they find to $(BUILD)/fuzz/corpus.
fuzz: configure
	@cmake --build $(BUILD) -j $(JOBS) --target fuzz
	@tests/fuzz/run.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

# Each measurement runs even when one before it failed; bench/report.sh then writes
# $(BUILD)/bench/report.md from what each wrote to $(BUILD)/bench/fragments, failures stated,
# and make fails after it if any measurement did.
bench: build
	@rm -rf $(BUILD)/bench/fragments $(BUILD)/bench/report.md
	@status=0; \
	bench/startup.sh $(BUILD) || status=1; \
	BENCH_DPI=144 bench/startup.sh $(BUILD) || status=1; \
	bench/idle.sh $(BUILD) || status=1; \
	bench/memory.sh $(BUILD) || status=1; \
	BENCH_DPI=144 bench/memory.sh $(BUILD) || status=1; \
	bench/size.sh $(BUILD) || status=1; \
	$(MAKE) --no-print-directory bench-notes || status=1; \
	bench/selection.sh $(BUILD) || status=1; \
	bench/find.sh $(BUILD) || status=1; \
	bench/journal.sh $(BUILD) || status=1; \
	bench/report.sh $(BUILD) || status=1; \
	exit $$status

# A build of its own: the test build's sanitizers would make the figures meaningless.
bench-notes: deps
	@cmake -S . -B $(BUILD)/bench-native -DCMAKE_BUILD_TYPE=Release -DDAYVANE_SANITIZE=OFF \
		-DDAYVANE_NATIVE_ONLY=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BUILD)/bench-native -j $(JOBS) --target notes_bench
	@bench/notes.sh $(BUILD) $(BENCH_ARGS)

clean:
	rm -rf $(BUILD)
