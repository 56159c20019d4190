#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}: the targets named as
# arguments, or everything (the test suite included) without any.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
LAUNCHER=()
# Compiler cache when the machine has one (several work trees share it).
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Warnings fail the build on CI (CI=true), or wherever TW_WERROR=ON asks.
if [ "${CI:-}" = true ]; then
  WERROR=${TW_WERROR:-ON}
else
  WERROR=${TW_WERROR:-OFF}
fi
# A configured build folder re-runs its configure step by itself when a
# build file changed; only a new folder, another build type or another
# warning setting needs it here.
TYPE=${BUILD_TYPE:-RelWithDebInfo}
if ! grep -qx "CMAKE_BUILD_TYPE:STRING=$TYPE" "$BUILD_DIR/CMakeCache.txt" 2>/dev/null ||
   ! grep -qx "TW_WERROR:BOOL=$WERROR" "$BUILD_DIR/CMakeCache.txt" 2>/dev/null; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$TYPE" -DTW_WERROR="$WERROR" "${LAUNCHER[@]}" >/dev/null
fi
TARGETS=()
for t in "$@"; do
  TARGETS+=(--target "$t")
done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${TARGETS[@]}"
