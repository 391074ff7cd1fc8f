#!/usr/bin/env bash
# scripts/deps against stand-ins of apt-get and dpkg: what each command asks for, a failed index
# update tried again and then passed over, a failed install that names what it could not get and
# installs the rest, and scripts/test's plan, which leaves out only the steps that need it.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
deps=$top/scripts/deps
work=$(mktemp -d "${TMPDIR:-/tmp}/brumix-deps-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# --list: run and its screenshot need nothing 32-bit and no i686 compiler; release needs no Wine.
for command in run screenshot; do
    listed=$("$deps" --list "$command" | cut -f1 | tr '\n' ' ')
    case " $listed" in *:i386*|*i686*) fail "$command asks for something 32-bit: $listed" ;; esac
    for p in g++-mingw-w64-x86-64-posix wine64 xvfb; do
        case " $listed " in *" $p "*) ;; *) fail "$command does not ask for $p: $listed" ;; esac
    done
done
listed=$("$deps" --list release | cut -f1 | tr '\n' ' ')
for p in g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix zip wixl msitools python3-jsonschema; do
    case " $listed " in *" $p "*) ;; *) fail "release does not ask for $p: $listed" ;; esac
done
case " $listed" in *wine*) fail "release asks for Wine: $listed" ;; esac
"$deps" --list release | grep -qv $'\t.' && fail "a package of release is listed without a reason"

# Stand-ins: dpkg-query knows what was installed; apt-get update fails as often as told; an
# install fails when it names a package listed in "unobtainable".
bin=$work/bin
mkdir -p "$bin"
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/bash
grep -qx "${!#}" "$STUB/installed" && printf 'install ok installed'
EOF
cat >"$bin/dpkg" <<'EOF'
#!/bin/bash
echo "dpkg $*" >>"$STUB/calls"
[ "$1" = --print-foreign-architectures ] && cat "$STUB/architectures"
exit 0
EOF
cat >"$bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$STUB/calls"
if [ "$1" = update ]; then
    left=$(cat "$STUB/update-failures")
    [ "$left" -gt 0 ] || exit 0
    echo $((left - 1)) >"$STUB/update-failures"
    echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1234 != 5678). Mirror sync in progress?"
    exit 100
fi
wanted=()
while [ $# -gt 0 ]; do
    case $1 in
        -o) [[ "$2" = Dir::Etc::Preferences=* ]] && cp "${2#*=}" "$STUB/preferences"; shift 2 ;;
        install|-y|-q) shift ;;
        *) wanted+=("$1"); shift ;;
    esac
done
for p in "${wanted[@]}"; do
    grep -qx "$p" "$STUB/unobtainable" && { echo "E: Unable to locate package $p"; exit 100; }
done
printf '%s\n' "${wanted[@]}" >>"$STUB/installed"
EOF
printf '#!/bin/bash\nexec "$@"\n' >"$bin/sudo"
chmod +x "$bin"/*
# The system's own tools, but no npm: whether it is there is the stand-ins' to say.
system=$work/system
mkdir -p "$system"
for tool in bash cat chmod cp cut dirname grep head id locale mktemp rm sed seq sleep sort tail tr; do
    ln -s "$(command -v "$tool")" "$system/$tool"
done

# run_deps UPDATE-FAILURES UNOBTAINABLE COMMAND [FOREIGN-ARCHITECTURE]: scripts/deps with the
# stand-ins; its output in $out.
run_deps() {
    export STUB=$work/stub
    rm -rf "$STUB" && mkdir -p "$STUB"
    printf 'cmake\nninja-build\n' >"$STUB/installed"
    echo "$1" >"$STUB/update-failures"
    printf '%s\n' $2 >"$STUB/unobtainable"
    echo "${4:-}" >"$STUB/architectures"
    out=$(PATH=$bin:$system BRUMIX_APT_PAUSE=0 TMPDIR=$work "$deps" "$3" 2>&1)
    code=$?
}

run_deps 2 "" run
[ "$code" = 0 ] || fail "two failed updates then one that works: exit $code: $out"
[ "$(grep -c '^apt-get update' "$STUB/calls")" = 3 ] || fail "the update was not tried three times: $(cat "$STUB/calls")"
grep -q "apt-get install -y -q npm g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 xvfb" "$STUB/calls" ||
    fail "run did not install exactly what it lacked: $(cat "$STUB/calls")"
grep -q "dpkg --add-architecture" "$STUB/calls" && fail "run added the i386 architecture"
grep -q "needs wine64: Wine's 64-bit half" <<<"$out" || fail "run does not say why it installs Wine: $out"

[ -e "$STUB/preferences" ] && fail "run pinned the i386 architecture away on a machine without it"

# With i386 there for the tests, run keeps its packages out (wine64 recommends wine32:i386).
run_deps 0 "" run i386
grep -q "Package: \*:i386" "$STUB/preferences" 2>/dev/null && grep -q "Pin-Priority: -1" "$STUB/preferences" ||
    fail "run's install on a machine with i386 could bring in i386 packages: $(cat "$STUB/calls")"

run_deps 9 "" release
[ "$code" = 0 ] || fail "an update that keeps failing stopped an install that works: exit $code: $out"
[ "$(grep -c '^apt-get update' "$STUB/calls")" = 3 ] || fail "the failing update was not tried three times"
grep -q "Mirror sync in progress" <<<"$out" || fail "the update's failure is not shown: $out"
grep -q "^apt-get install .*wixl" "$STUB/calls" || fail "release installed no wixl after the failed update"

run_deps 9 "wixl" release
[ "$code" = 1 ] || fail "an install that cannot get wixl exited $code"
grep -q "could not install wixl (" <<<"$out" || fail "the failed install does not name wixl alone: $out"
grep -qx "msitools" "$STUB/installed" || fail "what could be had was not installed beside the failure"

# An npm that came with a Node.js installed otherwise serves: no package for it.
printf '#!/bin/bash\nexit 0\n' >"$bin/npm" && chmod +x "$bin/npm"
run_deps 0 "" release
grep -q "^apt-get install .*npm" "$STUB/calls" && fail "npm was installed beside one that is there"
rm "$bin/npm"

# Wine's 32-bit half cannot be had (the i386 index in the middle of a sync): everything else is
# installed, the command fails naming it alone, and only what needs it is left out of the tests.
run_deps 1 "wine32:i386" test
[ "$code" = 1 ] || fail "test without wine32:i386 exited $code"
grep -q "could not install wine32:i386 (" <<<"$out" || fail "the failed install does not name wine32:i386 alone: $out"
for p in wine64 tmux npm clang; do grep -qx "$p" "$STUB/installed" || fail "$p was not installed beside wine32:i386"; done
missing=$(PATH=$bin:$system "$deps" --missing wine64 wine32 fetch | tr '\n' ' ')
[ "$missing" = "wine32:i386 " ] || fail "--missing named '$missing', not wine32:i386"
plan=$(PATH=$bin:$system BRUMIX_APT_PAUSE=0 TMPDIR=$work "$top/scripts/test" --plan 2>&1)
code=$?
[ "$code" = 1 ] || fail "the plan without wine32:i386 exited $code"
for step in "host tests" "win64 tests (Wine, x86_64)" "win32 build" "static analysis" "release checked" "MSI x64"; do
    grep -A1 -F "== $step" <<<"$plan" | grep -q "would run" || fail "$step would not run without wine32:i386: $plan"
done
for step in "win32 tests (Wine, i686)" "MSI x86"; do
    grep -q -F "NOT RUN: $step" <<<"$plan" && grep -F "NOT RUN: $step" <<<"$plan" | grep -q "needs wine32:i386" ||
        fail "$step is not named as not run for wine32:i386: $plan"
done

[ $failures = 0 ] && echo "deps: every case passed"
exit $((failures > 0))
