#!/usr/bin/env bash
# Soak run (not a CI test): winbrumix.exe sniffing every second with the automatic clear on and
# everything selected, minimised, for MINUTES while a second process keeps adding cache entries,
# cookies and typed addresses. Every SAMPLE seconds it prints the program's handle count, GDI
# objects, windows, working set, committed private memory and the entries left in the cache; rows
# that stay flat after the first mean nothing leaks. Runs in a throwaway Wine prefix under a
# private Xvfb, like the e2e tests.
# Usage: tests/e2e/soak.sh [MINUTES] [SAMPLE-SECONDS]        (defaults: 10 and 30)
#   BRUMIX_SOAK_BUILD=DIR  build directory to use (default: build/soak-win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
minutes=${1:-10}
sample=${2:-30}
build=${BRUMIX_SOAK_BUILD:-$root/build/soak-win64}
. "$root/scripts/lib.sh"

echo "soak: building winbrumix.exe and the soak helper in $build"
build_log=$build/soak-build.log
brumix_configure win64 "$build" "$build_log" && brumix_build "$build" "$build_log" winbrumix brumix_soak_helper || exit 1

# Wine's helper processes inherit standard output, so the run writes to a file that is followed,
# never to a pipe.
log=$(mktemp /tmp/brumix-soak.XXXXXX)
trap 'rm -f "$log"' EXIT
echo "soak: $minutes minute(s), a sample every $sample s"
"$root/scripts/wine-run" --display --timeout $((minutes * 60 + 180)) \
    "$build/tests/e2e/brumix_soak_helper.exe" soak "$build/app/winbrumix.exe" "$minutes" "$sample" \
    >"$log" 2>&1 </dev/null &
runner=$!
tail -n +1 -f --pid="$runner" "$log"
status=0
wait "$runner" || status=$?
exit "$status"
