# Entry points for newcomers and CI; CMake presets do the real work.
PRESET ?= dev
WERROR ?= OFF
BUILD  := build/$(PRESET)

.PHONY: all deps configure build demo test asan bench fuzz format clean install package

all: build

deps:
	@scripts/deps.sh

configure: deps
	@cmake --preset $(PRESET) -DTAVREL_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Starts the application against the bundled simulated receiver.
demo: build
	@scripts/demo.sh $(BUILD)

# Builds and runs every test.
test: build
	@dbus-run-session -- ctest --preset $(PRESET)

# Installs the programs, the menu entry, icons and manual pages under PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# Builds the Debian package into the build folder.
package: build
	@cd $(BUILD) && cpack

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: configure
	@cmake --build --preset $(PRESET) --target benchmarks
	@scripts/bench.sh $(BUILD)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target fuzzers
	@scripts/fuzz.sh build/fuzz $(or $(SECONDS_PER_TARGET),60)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
