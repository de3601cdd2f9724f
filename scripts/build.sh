#!/usr/bin/env bash
# Configures and builds what the given parts need (default: native win package):
#   native   the portable core and its unit tests (g++, ASan + UBSan)
#   win      the Windows programs, the win32 tests and the e2e tools (mingw-w64)
#   package  the installer and the portable zip, from the win build
#   fuzz     the fuzz targets and the libraries they link (clang, libFuzzer)
# A configured build tree is configured again only when the presets, the toolchain file or
# the compiler launcher changed (CMake re-runs itself when a CMakeLists.txt changed); ninja
# then rebuilds only what changed. The compiler cache (ccache) is used when installed,
# unless CMAKE_CXX_COMPILER_LAUNCHER names another launcher.
set -euo pipefail
cd "$(dirname "$0")/.."

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(native win package)

launcher="${CMAKE_CXX_COMPILER_LAUNCHER-}"
if [ -z "$launcher" ] && command -v ccache >/dev/null; then
    launcher=ccache
fi

configure() {
    local preset=$1
    local dir=build/$1
    local inputs
    inputs=$({ cat CMakePresets.json cmake/*.cmake; echo "launcher=$launcher"; } | sha256sum)
    if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/.zv-configured" 2>/dev/null)" = "$inputs" ]; then
        return 0
    fi
    cmake --preset "$preset" -DCMAKE_C_COMPILER_LAUNCHER="$launcher" \
        -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" >/dev/null
    echo "$inputs" >"$dir/.zv-configured"
}

for part in "${parts[@]}"; do
    case "$part" in
        native | win | fuzz)
            configure "$part"
            cmake --build --preset "$part"
            ;;
        package)
            # The installer and the portable zip, from the programs built (when changed).
            python3 scripts/package.py
            ;;
        *)
            echo "build.sh: unknown part $part (native, win, package, fuzz)" >&2
            exit 2
            ;;
    esac
done
