#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --tests
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default --output-on-failure
