# make check   installs what is missing, builds, runs every test twice
#              (plain, then under AddressSanitizer + UndefinedBehaviorSanitizer)
# make demo    installs what is missing, builds the demo programs, runs them: in a window when
#              DISPLAY answers, else headless (DEMO_FLAGS=--headless forces that)
# make bench   builds and runs the benchmark programs
# make fuzz    installs clang if missing, builds the libFuzzer programs in build-fuzz
# make dist    builds and lays out the distribution folder dist/ (the package
#              builds, Help/, deckinstall and Deckinstall.exe)
# make check-wine  installs Wine (32-bit) and the X tools, runs Deckinstall.exe
#              under Wine and the help file in Wine's help viewer
.PHONY: all deps build build-asan check check-plain check-asan demo bench fuzz clean dist check-wine

PACKAGES := cmake ninja-build g++ pkg-config \
	libpixman-1-dev libfreetype-dev fonts-dejavu-core fonts-wine libpng-dev \
	libx11-dev libxext-dev libxtst-dev xvfb xauth openbox \
	libgtest-dev libgmock-dev libbenchmark-dev \
	adwaita-icon-theme \
	g++-mingw-w64-i686 binutils-mingw-w64-i686
# The writer of the component reference (help file, contents file, HTML).
PACKAGES += halibut
FUZZ_PACKAGES := clang libclang-rt-14-dev
# Deckinstall.exe is a 32-bit program: Wine needs its i386 half. The help
# viewer's check drives it with xdotool and takes pictures with xwd and netpbm.
WINE_PACKAGES := wine wine32:i386 xdotool x11-apps x11-utils netpbm
JOBS ?= 2
BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
# A compiler cache, when the machine has one, makes rebuilds in other checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

all: build

# Installs only the packages that are missing; apt-get update runs once, and only
# when something is missing.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" != 0 ]; then echo "need root to install:$$missing" >&2; exit 1; fi; \
	  DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLD_SANITIZE=ON $(LAUNCHER)

build: deps $(BUILD)/build.ninja
	ninja -C $(BUILD) -j$(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	ninja -C $(ASAN_BUILD) -j$(JOBS)

# The tests labelled wine run under check-wine: Wine is large and slow to start.
check-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE wine

check-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j$(JOBS) -LE wine

check: check-plain check-asan

# Every layer instrumented for coverage, with AddressSanitizer and UBSan; only the
# NAME_libfuzzer programs (and the libraries they use) are built.
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	@[ -f $(FUZZ_BUILD)/build.ninja ] || cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLD_LIBFUZZER=ON
	ninja -C $(FUZZ_BUILD) -j$(JOBS) $$(ninja -C $(FUZZ_BUILD) -t targets all | sed -n '/^cmake_/!s/^\([A-Za-z0-9_]*_libfuzzer\): phony$$/\1/p')

# Builds only the demo programs; make check builds the rest.
demo: deps $(BUILD)/build.ninja
	ninja -C $(BUILD) -j$(JOBS) demo_programs
	./apps/run-demo $(BUILD) $(DEMO_FLAGS)

# Without DISPLAY, bench_x11 measures on an Xvfb of its own, not on the desktop.
bench: build
	@for b in $(BUILD)/bench/*/bench_*; do [ -x "$$b" ] && DISPLAY= "$$b"; done

dist: build
	ninja -C $(BUILD) -j$(JOBS) dist

# Kept apart from make check, as Wine is large and slow to start.
check-wine: build
	@missing=""; for p in $(WINE_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" != 0 ]; then echo "need root to install:$$missing" >&2; exit 1; fi; \
	  { dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; } && \
	  DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi
	ctest --test-dir $(BUILD) --output-on-failure -L wine

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
