#!/usr/bin/env bash
# Builds the whole tree with clang, AddressSanitizer (leak checking included) and
# UndefinedBehaviorSanitizer into build-asan/, warnings as errors, and runs the suite: the main
# build is gcc's, so every file also compiles cleanly with the other compiler. Any report fails
# the run; only leaks inside Qt's own libraries are suppressed (scripts/qt-leaks.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QUARN_BUILD_DIR:-build}-asan"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DQUARN_WERROR=ON \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/qt-leaks.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
