#!/usr/bin/env bash
# Sets up, builds and starts Quarn 3D with samples/ as the current folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd samples
exec "../${QUARN_BUILD_DIR:-build}/bin/quarn3d" "$@"
