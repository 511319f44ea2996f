#!/usr/bin/env bash
# Installs what is missing, builds an optimised Trafalo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target trafalo
exec build/release/trafalo "$@"
