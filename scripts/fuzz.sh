#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/, warnings as errors, and runs each for
# QUARN_FUZZ_SECONDS seconds (default 60). Longer runs: QUARN_FUZZ_SECONDS=3600 scripts/fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QUARN_BUILD_DIR:-build}-fuzz"
seconds="${QUARN_FUZZ_SECONDS:-60}"
targets="fuzz_bmp_header fuzz_3df_reader"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUARN_FUZZ=ON -DQUARN_BUILD_BENCH=OFF -DQUARN_WERROR=ON -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
# shellcheck disable=SC2086
cmake --build "$dir" -j"$(nproc)" --target $targets
for name in $targets; do
    corpus="$dir/corpus-$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    log="$dir/$name.log"
    status=0
    "$dir/bin/$name" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 \
        -malloc_limit_mb=256 -timeout=10 -print_final_stats=1 \
        "$corpus" "fuzz/seeds/${name#fuzz_}" >"$log" 2>&1 || status=$?
    grep -E "stat::number_of_executed_units|ERROR|SUMMARY" "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        exit "$status"
    fi
done
