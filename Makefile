# Two entry points: `make run` and `make test`. Both install what is missing from Debian first.
# `make deb` builds the Debian package.
SHELL := /bin/bash
BUILD_DIR ?= build
RUN_DIR ?= $(HOME)/Beitragsbox
# WERROR=ON turns warnings into errors (CI does); SANITIZE=address,undefined builds with them.
WERROR ?= OFF
SANITIZE ?=

BUILD_PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libgl-dev \
	librsvg2-bin fonts-dejavu-core fonts-liberation2 qt6-translations-l10n \
	libnuspell-dev hunspell-de-de libgumbo-dev
# CPack's DEB generator: dpkg-shlibdeps computes the dependencies, file finds the binaries.
DEB_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file
# The package test checks the package with lintian and validates its desktop entry and AppStream
# file; the StatusNotifier tray test talks to the program over a private D-Bus session bus, the
# accessibility test reads its windows as a screen reader does (AT-SPI), the drafts test types
# umlauts on a German keyboard map (setxkbmap).
TEST_PACKAGES := $(DEB_PACKAGES) libbenchmark-dev xvfb xauth x11-xkb-utils openbox trayer xdotool xclip \
	x11-utils wmctrl imagemagick hunspell-de-at hunspell-de-ch lintian desktop-file-utils appstream dbus-daemon python3 \
	python3-gi python3-pyatspi at-spi2-core

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

.PHONY: run test deb sanitize fuzz torture deps-run deps-deb deps-test deps-fuzz configure build \
	bench format lint deps-lint clean

deps-run:
	$(call install_missing,$(BUILD_PACKAGES))

deps-deb:
	$(call install_missing,$(DEB_PACKAGES))

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

# clang with its fuzzer and sanitizer runtimes (the runtimes are only recommended by clang).
FUZZ_PACKAGES := $(BUILD_PACKAGES) clang libclang-rt-14-dev
deps-fuzz:
	$(call install_missing,$(FUZZ_PACKAGES))

LINT_PACKAGES := $(TEST_PACKAGES) clang-tidy clang-format
deps-lint:
	$(call install_missing,$(LINT_PACKAGES))

configure:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DBEITRAGSBOX_WERROR=$(WERROR) -DBEITRAGSBOX_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD_DIR) -j $$(nproc)

# The installed launcher's own start, with the program and the help texts of the checkout.
run: deps-run build
	BEITRAGSBOX_PROGRAM="$(CURDIR)/$(BUILD_DIR)/Beitragsbox" BEITRAGSBOX_TEXTS="$(CURDIR)/docs" \
	  BEITRAGSBOX_FOLDER="$(RUN_DIR)" exec "$(BUILD_DIR)/launcher/beitragsbox"

test: deps-test build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $$(nproc) --timeout 300

# The Debian package, in the build folder: beitragsbox_<version>_<architecture>.deb.
deb: deps-deb build
	cd $(BUILD_DIR) && cpack -G DEB

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_DIR ?= build-sanitize
sanitize: deps-test
	$(MAKE) --no-print-directory configure build BUILD_DIR=$(SANITIZE_DIR) SANITIZE=address,undefined \
	  WERROR=$(WERROR)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $$(nproc) --timeout 300 -E '^(e2e|x11|torture)/|as_user'

# Each fuzz target for FUZZ_SECONDS seconds on its seed corpus (clang's libFuzzer).
FUZZ_SECONDS ?= 60
fuzz: deps-fuzz
	bash fuzz/run.sh $(FUZZ_SECONDS)

# The long crash round: the real program killed at random moments while it writes.
TORTURE_KILLS ?= 200
torture: deps-test build
	bash tests/torture/torture.sh $(BUILD_DIR)/Beitragsbox $(TORTURE_KILLS)

# Under Xvfb without a window manager: bench_large times the start-up to the mapped window.
bench: deps-test build
	cd $(BUILD_DIR) && for b in bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then \
	    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=offscreen "$$b" || exit 1; \
	  fi; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# clang-tidy with the checks of .clang-tidy over src/ and tests/ (it needs the build's compile
# commands and Qt's generated sources), and the format of every C++ file there.
lint: deps-lint build
	clang-format --dry-run -Werror $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')
	run-clang-tidy -quiet -j $$(nproc) -p $(BUILD_DIR) '$(CURDIR)/(src|tests)/.*\.cpp$$' \
	  > $(BUILD_DIR)/clang-tidy.log 2>&1 || { grep -E 'error:|warning:' $(BUILD_DIR)/clang-tidy.log; exit 1; }

clean:
	rm -rf $(BUILD_DIR)
