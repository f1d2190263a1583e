# Two entry points: `make run` and `make test`. Both install what is missing from Debian first.
SHELL := /bin/bash
BUILD_DIR ?= build
RUN_DIR ?= $(HOME)/Beitragsbox
# WERROR=ON turns warnings into errors (CI does); SANITIZE=address,undefined builds with them.
WERROR ?= OFF
SANITIZE ?=

BUILD_PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libxcb1-dev libgl-dev \
	fonts-dejavu-core fonts-liberation2 qt6-translations-l10n
TEST_PACKAGES := $(BUILD_PACKAGES) libbenchmark-dev xvfb xauth openbox trayer xdotool xclip \
	x11-utils wmctrl imagemagick

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

.PHONY: run test deps-run deps-test configure build bench format clean

deps-run:
	$(call install_missing,$(BUILD_PACKAGES))

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

configure:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DBEITRAGSBOX_WERROR=$(WERROR) -DBEITRAGSBOX_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD_DIR) -j $$(nproc)

run: deps-run build
	@mkdir -p "$(RUN_DIR)"
	@for f in readme.txt kurzhilfe.txt; do \
	  [ -f "$(RUN_DIR)/$$f" ] || [ ! -f "docs/$$f" ] || cp "docs/$$f" "$(RUN_DIR)/$$f"; done
	cd "$(RUN_DIR)" && exec "$(CURDIR)/$(BUILD_DIR)/Beitragsbox"

test: deps-test build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $$(nproc) --timeout 300

bench: deps-test build
	cd $(BUILD_DIR) && for b in bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
