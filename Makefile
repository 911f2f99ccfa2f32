# Top-level entry points. Every target that builds first makes sure the
# Debian packages the project needs are present (only missing ones are
# installed), then drives CMake in build/.
BUILD_DIR ?= build
# Benchmarks build apart, so that their large generated programs never slow
# down the ordinary build.
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local

PACKAGES := g++ cmake make flex bison libmotif-dev libxt-dev libx11-dev \
            libxext-dev libxpm-dev libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xdotool xfonts-base xfonts-100dpi x11-utils clang-format \
            libxml2-utils dpkg-dev

# Every C++ source and header of the project, for make format. The flex and
# bison files keep their own layout, and generated code lives only in the
# build directories.
FORMAT_DIRS := store interp runtime graphics viewer examples tests bench fuzz include tools

.PHONY: deps configure build test demo demo-viewer install package bench format clean

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

demo: build
	@sh examples/run-demo.sh $(BUILD_DIR)

demo-viewer: build
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

# The house style is .clang-format at the top of the tree.
format: deps
	find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
