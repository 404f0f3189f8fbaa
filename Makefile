# make run    build and start the program under Wine (headless: screenshot, then close)
# make test   build, then run the unit tests and the window tests
# make bench  build, then measure
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build test run bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

run: build
	@scripts/run.sh $(BUILD)

bench: build
	@bench/startup.sh $(BUILD)

clean:
	rm -rf $(BUILD)
