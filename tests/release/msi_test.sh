#!/usr/bin/env bash
# The release's MSIs under Wine's msiexec, each architecture in a throwaway prefix of its own:
# install, the files, the Start-menu shortcut and the Apps & features entry, the installed
# window with its counts, an upgrade over an older package, a refused downgrade, a release that
# changes only the fourth field, and an uninstall that leaves only the user's settings.
# Usage: tests/release/msi_test.sh [x64|x86]...   (both when none; after scripts/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh

# Inside the prefix (scripts/wine-run --shell): the installs and the checks of one architecture.
in_prefix() {
    local arch=$1 work=$2 driver=$3 failures=0
    . "$work/versions"
    # Wine's menu builder would write the shortcut's desktop entry into the real home folder.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    local drive=$WINEPREFIX/drive_c folder program_files uninstall_key
    if [ "$arch" = x64 ]; then
        program_files='C:\Program Files' folder="$drive/Program Files/Win Brumix"
        uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    else
        program_files='C:\Program Files (x86)' folder="$drive/Program Files (x86)/Win Brumix"
        uninstall_key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
    fi
    local settings_key='HKCU\SOFTWARE\Quellmar\Win Brumix'

    fail() { echo "msi test $arch: $*" >&2; failures=$((failures + 1)); }
    code_of() { sed -n "s|^.*/$1\.msi: ProductCode \({[^}]*}\).*|\1|p" "$work/codes"; }
    msiexec() { timeout -k 5 120 "$wine" msiexec "$@" >>"$work/wine.log" 2>&1 </dev/null; }
    install() {
        local expected=$2 got=0
        msiexec /i "Z:${work//\//\\}\\$1.msi" /qn || got=$?
        [ "$got" = "$expected" ] ||
            { fail "msiexec /i $1.msi /qn exited $got, not $expected"; tail -20 "$work/wine.log" >&2; }
    }
    # The Apps & features entries named Win Brumix, as Wine's own uninstaller lists them.
    entries() {
        timeout -k 5 60 "$wine" uninstaller --list 2>>"$work/wine.log" </dev/null |
            tr -d '\r' | sed -n 's/^\({[^}]*}\)|||Win Brumix$/\1/p' | LC_ALL=C sort
    }
    expect_entry() {
        local got
        got=$(entries | tr '\n' ' ') || true
        [ "$got" = "$1 " ] || fail "$2: Apps & features lists '${got% }', not just $1"
    }
    registry_value() {
        timeout -k 5 60 "$wine" reg query "$1" /v "$2" 2>>"$work/wine.log" </dev/null |
            tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
    }
    # Every file the package installs, nothing more, each the release's own.
    expect_files() {
        local listed
        listed=$( (cd "$folder" 2>/dev/null && find . -mindepth 1 -printf '%P\n') | LC_ALL=C sort | tr '\n' ' ') || true
        [ "$listed" = "CHANGELOG.md LICENSE README.md brumix-logon-task.xml brumix.exe winbrumix.exe " ] ||
            fail "$1: $folder holds '$listed'"
        for name in CHANGELOG.md LICENSE README.md brumix-logon-task.xml; do
            cmp -s "$folder/$name" "$work/../stage/$name" || fail "$1: $name is not the release's"
        done
        for name in brumix.exe winbrumix.exe; do
            cmp -s "$folder/$name" "$work/../stage/$arch/$name" || fail "$1: $name is not the release's"
        done
    }

    local release older_code newer_code
    release=$(code_of release) older_code=$(code_of older) newer_code=$(code_of newer)

    install older 0
    expect_entry "$older_code" "the older package"
    install release 0
    expect_entry "$release" "the upgrade"
    expect_files "the upgrade"
    local key="$uninstall_key\\$release"
    [ "$(registry_value "$key" DisplayName)" = "Win Brumix" ] || fail "the entry's name is not Win Brumix"
    [ "$(registry_value "$key" DisplayVersion)" = "$version" ] || fail "the entry's version is not $version"
    [ "$(registry_value "$key" Publisher)" = Quellmar ] || fail "the entry's publisher is not Quellmar"
    [ "$(registry_value "$key" NoModify)" = 0x1 ] && [ "$(registry_value "$key" NoRepair)" = 0x1 ] ||
        fail "the entry offers a modify or a repair"
    cmp -s "$drive/windows/Installer/$release/winbrumix.ico" res/winbrumix.ico ||
        fail "the entry's icon is not the program's"
    # Windows puts a per-machine shortcut in the Start menu of all users (ProgramData); Wine's
    # msi puts it in the installing user's own, and that is where it is looked for here.
    local shortcut="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Win Brumix.lnk"
    if [ ! -f "$shortcut" ]; then
        fail "no Win Brumix.lnk in the user's Start menu; found: $(cd "$drive" && find . -iname '*.lnk' | tr '\n' ' ')"
    elif ! grep -aq "Win Brumix\\\\winbrumix.exe" "$shortcut"; then
        fail "the shortcut does not start $program_files\\Win Brumix\\winbrumix.exe"
    fi

    # The installed program, driven by the end-to-end cases that show the window counting and
    # the About box's version line.
    local cases=FirstStart.WindowMatchesTheControlTableAfterTheFirstCount
    cases+=:FirstStart.AboutBoxOpensFromTheSystemMenuAndClosesWithOk
    timeout -k 5 150 "$wine" "$driver" --gtest_brief=1 --gtest_filter="$cases" \
        "$program_files\\Win Brumix\\winbrumix.exe" >"$work/window.log" 2>&1 </dev/null ||
        { fail "the installed winbrumix.exe failed its window cases:"; tail -30 "$work/window.log" >&2; }
    grep -q '^\[  PASSED  \] 2 tests' "$work/window.log" || fail "the window cases did not both run"
    [ -n "$(registry_value "$settings_key" cached_urls)" ] || fail "the window left no settings on close"

    # Windows Installer's 1603 (the launch condition's refusal) is 67 as the exit status.
    install older 67
    expect_entry "$release" "the refused downgrade"
    expect_files "the refused downgrade"
    install newer 0
    expect_entry "$newer_code" "a release that changes only the fourth field"

    msiexec /x "$newer_code" /qn || fail "msiexec /x $newer_code /qn exited $?"
    [ -z "$(entries)" ] || fail "the uninstall left an Apps & features entry"
    timeout -k 5 60 "$wine" reg query "$uninstall_key\\$newer_code" >/dev/null 2>&1 </dev/null &&
        fail "the uninstall left its Uninstall key"
    local left
    left=$(cd "$drive" && find . -iname '*brumix*' | tr '\n' ' ')
    [ -z "$left" ] || fail "the uninstall left $left"
    [ -n "$(registry_value "$settings_key" cached_urls)" ] || fail "the uninstall took the user's settings"
    return $((failures > 0))
}

if [ "${1:-}" = --in-prefix ]; then
    shift
    in_prefix "$@"
    exit
fi

arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(x64 x86)
version=$(scripts/version)
stage=build/release/winbrumix-$version
[ -d "$stage" ] ||
    { echo "msi test: no $stage: run scripts/release first" >&2; exit 1; }
IFS=. read -r major minor build revision <<<"$version"
# Lower in the first three fields, which are all that Windows Installer compares.
if [ "$build" -gt 0 ]; then
    older=$major.$minor.$((build - 1)).0
elif [ "$minor" -gt 0 ]; then
    older=$major.$((minor - 1)).0.0
else
    older=$((major - 1)).0.0.0
fi
newer=$major.$minor.$build.$((revision + 1))
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

work=$(mktemp -d "${TMPDIR:-/tmp}/brumix-msi-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -a "$stage" "$work/stage"
# The older package's README differs, so that the upgrade shows whose files are left.
cp -a "$stage" "$work/older-stage"
echo "This README came with the older package." >>"$work/older-stage/README.md"
printf 'version=%s\nolder=%s\nnewer=%s\n' "$version" "$older" "$newer" >"$work/versions"

status=0
for arch in "${arches[@]}"; do
    start=$SECONDS
    dir=$work/$arch
    mkdir -p "$dir"
    cp "$work/versions" "$dir/"
    cp "dist/winbrumix-$version-$arch.msi" "$dir/release.msi"
    for package in older newer release; do
        case $package in
            older) from=$work/older-stage v=$older ;;
            newer) from=$work/stage v=$newer ;;
            release) from=$work/stage v=$version ;;
        esac
        python3 tools/release/write_msi.py --version "$v" --arch "$arch" --stage "$from" --icon res/winbrumix.ico \
            --epoch "$epoch" --out "$dir/$package-again.msi" | sed "s|-again\.msi:|.msi:|" >>"$dir/codes"
    done
    # The installs below stand for dist's package only if it is what the writer makes of the stage.
    cmp -s "$dir/release-again.msi" "$dir/release.msi" ||
        { echo "msi test $arch: dist/winbrumix-$version-$arch.msi is not the package of $stage" \
            "at this commit's time: run scripts/release again" >&2; status=1; continue; }
    mv "$dir/older-again.msi" "$dir/older.msi"
    mv "$dir/newer-again.msi" "$dir/newer.msi"
    preset=win64
    [ "$arch" = x86 ] && preset=win32
    # The end-to-end driver of the program's own architecture, as its ring builds it.
    brumix_build "build/$preset" "$work/build.log" brumix_e2e || { status=1; continue; }
    if scripts/wine-run --display --timeout 300 --shell "$PWD/tests/release/msi_test.sh" --in-prefix "$arch" \
        "$dir" "$PWD/build/$preset/tests/e2e/brumix_e2e.exe"; then
        echo "msi test $arch: install, files, shortcut, entry, window, upgrade, refused downgrade," \
            "fourth-field release and uninstall as expected ($((SECONDS - start)) s)"
    else
        echo "msi test $arch: FAILED ($((SECONDS - start)) s)"
        status=1
    fi
done
exit $status
