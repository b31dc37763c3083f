#!/usr/bin/env bash
# Runs one Windows program under Wine in a private, throw-away prefix on its own
# Xvfb display, and exits with the program's own exit code.
#   scripts/run-wine.sh PROGRAM.exe [ARGS...]
# VN_WINE_ROOT (default /tmp/vn-wine-$UID) holds the template prefix, made once
# with wineboot and copied for every run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
vn_wine_fresh_prefix
vn_xvfb_start
trap 'vn_wine_cleanup' EXIT
set +e
wine "$@"
rc=$?
set -e
exit $rc
