# Tessalyn: the two set-up commands are `make run` and `make test`.
BUILD      := build
SAN_BUILD  := build-sanitize
TSAN_BUILD := build-tsan
JOBS       ?= $(shell nproc)
PACKAGES   := cmake ninja-build g++ make pkg-config qt6-base-dev qt6-qpa-plugins \
              libjpeg62-turbo-dev libsdl2-mixer-dev libasound2-dev libxcb1-dev libmp3lame-dev libgtest-dev \
              libbenchmark-dev xvfb xauth xdotool imagemagick fonts-dejavu-core \
              appstream dpkg-dev file
TEST_ENV   := QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

.PHONY: run test test-sanitize test-tsan deps build bench deb clean

run: build
	$(BUILD)/bin/tessalyn

test: build
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DTESSALYN_SANITIZE=ON -DTESSALYN_BENCHMARKS=OFF
	cmake --build $(SAN_BUILD) -j$(JOBS)
	cd $(SAN_BUILD) && $(TEST_ENV) ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j$(JOBS)

# The solver on its worker thread under ThreadSanitizer: only the thread
# tests are built, so the run stays short.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DTESSALYN_SANITIZE_THREAD=ON -DTESSALYN_BENCHMARKS=OFF
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target tests_solverthreads
	cd $(TSAN_BUILD) && $(TEST_ENV) TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j$(JOBS) -R '^TWorkerTest\.'

# Runs every benchmark program once; the figures go to the issue notes.
bench: build
	for b in $(BUILD)/bin/bench_*; do $(TEST_ENV) $$b; done

# A Debian package of the installed program: build/tessalyn_VERSION_ARCH.deb.
deb: build
	cd $(BUILD) && cpack -G DEB

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Installs what is missing when run as root; otherwise says what to install.
deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "Tessalyn needs these Debian packages. Run:"; \
	    echo "  sudo apt-get install -y --no-install-recommends" $$missing; \
	    exit 1; \
	  fi; \
	fi

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD)
