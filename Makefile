# Top-level entry points. Every target that builds first makes sure the
# Debian packages the project needs are present (only missing ones are
# installed), then drives CMake in build/.
BUILD_DIR ?= build
# Benchmarks build apart, so that their large generated programs never slow
# down the ordinary build.
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local
# Sanitizer and fuzzing builds, each in a directory of its own.
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
SOAK_RUNS ?= 10000

PACKAGES := g++ cmake make flex bison libmotif-dev libxt-dev libx11-dev \
            libxext-dev libxpm-dev libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xdotool xfonts-base xfonts-100dpi x11-utils clang-format \
            libxml2-utils dpkg-dev clang libclang-rt-14-dev valgrind libcairo2-dev

# Every C++ source and header of the project, for make format. The flex and
# bison files keep their own layout, and generated code lives only in the
# build directories.
FORMAT_DIRS := store interp runtime graphics viewer examples tests bench fuzz include tools

.PHONY: deps configure build test demo demo-viewer install package bench format format-check clean test-asan fuzz soak

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The demos build only the program they run, not the whole test suite.
demo: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target ExampleTester
	@sh examples/run-demo.sh $(BUILD_DIR)

demo-viewer: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target ExampleViewer
	@sh examples/run-demo-viewer.sh $(BUILD_DIR)

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package (CPack): build/zem_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEM_BENCH=ON -DZEM_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	sh bench/run-all.sh $(BENCH_DIR)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer. The
# toolkit's own allocations that live until exit are not ours to free:
# tests/lsan.supp names only its libraries. The tester's own handler for
# fatal signals stays in charge (allow_user_segv_handler). Left out: the
# package tests (their outside project links the installed libraries without
# the sanitizers), memcheck (valgrind cannot run sanitized programs) and the
# soak (the sanitizers' quarantine grows memory by design).
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ASAN_OPTIONS=allow_user_segv_handler=1 \
	  ctest --output-on-failure -j $(JOBS) -E '^(package|memcheck|soak)\.'

# Every fuzz target for FUZZ_SECONDS on its seeds and regression inputs.
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_FUZZ=ON -DZEM_TESTS=OFF \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target script_fuzz grc_decode_fuzz bank_fuzz server_fuzz reply_fuzz drawing_text_fuzz \
	  report_fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) sh fuzz/run.sh $(FUZZ_DIR)

# One tester serving SOAK_RUNS remote runs of mixed kinds, then a viewer
# driven by random clicks and keys: both must stay alive and flat.
soak: build
	$(BUILD_DIR)/tests/soak/zem_soak $(CURDIR)/$(BUILD_DIR)/examples/ZemTester $(SOAK_RUNS)
	sh tests/soak/viewer_soak.sh $(BUILD_DIR)/examples/ZemViewer $(BUILD_DIR)/examples/ZemTester 2000 1

# The house style is .clang-format at the top of the tree.
format: deps
	find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

# Fails, naming every line, where a file differs from what make format
# would write; it changes nothing.
format-check: deps
	find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(ASAN_DIR) $(FUZZ_DIR)
