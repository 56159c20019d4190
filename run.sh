#!/usr/bin/env bash
# Installs what is missing, builds the program and the sample device it
# starts (not the test suite) and starts the client.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh tidewell tw_testdevice
exec "${BUILD_DIR:-build}/app/tidewell" "$@"
