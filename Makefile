# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
WIN_DIR ?= build-windows
# The cross-built Qt for Windows, kept outside every build folder.
VELK_WIN_QT ?= /opt/velk-win/qt
export VELK_WIN_QT

.PHONY: all deps build run test test-plain test-sanitize package screenshot format clean \
        windows-deps windows-qt windows windows-check

all: build

deps:
	@bash scripts/install-deps

# Asking dpkg about every package takes a while: a build does it once, and again when the list
# of packages changes.
DEPS_STAMP := $(BUILD_DIR)/.deps-installed
$(DEPS_STAMP): scripts/install-deps
	@bash scripts/install-deps
	@mkdir -p $(BUILD_DIR) && touch $@

build: $(DEPS_STAMP)
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run-panel $(BUILD_DIR)/velk-pro

# Every test, then every test again built with AddressSanitizer and UndefinedBehaviorSanitizer.
test: test-plain test-sanitize

test-plain: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: $(DEPS_STAMP)
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS)

# The Debian package, which lintian must pass without an error or a warning, with its service
# units verified and rated by systemd-analyze.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB
	@lintian --allow-root --fail-on error,warning $(BUILD_DIR)/velk-pro_*.deb
	@bash scripts/check-units $(BUILD_DIR)/velk-pro_*.deb

screenshot: build
	@bash scripts/screenshot $(BUILD_DIR)/velk-pro docs/velk-pro.png

# The Windows version, cross-built with MinGW-w64: build-windows/velk-pro-<version>-win64.exe.
windows-deps:
	@bash scripts/install-deps --windows

# The cross Qt, then libmosquitto and OpenSSL into its prefix: each once per machine.
windows-qt: windows-deps
	@bash scripts/windows-qt
	@nice bash scripts/windows-mqtt

windows: windows-qt
	@cmake -S . -B $(WIN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake -DVELK_WIN_QT=$(VELK_WIN_QT) >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)
	@cd $(WIN_DIR) && cpack -G NSIS >/dev/null && ls -1 $(CURDIR)/$(WIN_DIR)/velk-pro-*-win64.exe

# Installs and runs the Windows version under Wine, with COM1 on a pseudo-terminal.
windows-check: windows
	@bash scripts/windows-check $(WIN_DIR)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR) $(WIN_DIR)
