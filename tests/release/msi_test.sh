#!/usr/bin/env bash
# The release's MSIs under Wine's msiexec, each architecture in a throwaway prefix of its own:
# install, the files, the Start-menu shortcut and the Apps & features entry, the installed
# window with its counts, an upgrade over an older package, a refused downgrade, a release that
# changes only the fourth field, and an uninstall that leaves only the user's settings. Then
# both architectures in one prefix, each installed over the other.
# Usage: tests/release/msi_test.sh [x64|x86]...   (both when none; after scripts/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh

# Inside the prefix (scripts/wine-run --shell): what both kinds of run check. Each run sets
# work, the folder of its packages and logs, and label; failures counts what failed.
in_prefix_setup() {
    stage=$1 failures=0 drive=$WINEPREFIX/drive_c
    settings_key='HKCU\SOFTWARE\Quellmar\Win Brumix'
    # Wine's menu builder would write the shortcut's desktop entry into the real home folder.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    # Windows puts a per-machine shortcut in the Start menu of all users (ProgramData); Wine's
    # msi puts it in the installing user's own, and that is where it is looked for here.
    shortcut="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Win Brumix.lnk"
}

# Where an architecture's package installs, as the program sees it and as Linux does, and its
# Apps & features entries.
program_files_of() { if [ "$1" = x64 ]; then echo 'C:\Program Files'; else echo 'C:\Program Files (x86)'; fi; }
folder_of() { if [ "$1" = x64 ]; then echo "$drive/Program Files/Win Brumix"; else echo "$drive/Program Files (x86)/Win Brumix"; fi; }
uninstall_key_of() {
    if [ "$1" = x64 ]; then
        echo 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    else
        echo 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
    fi
}

fail() { echo "msi test $label: $*" >&2; failures=$((failures + 1)); }
# code_of DIR PACKAGE: the ProductCode the writer printed for DIR/PACKAGE.msi.
code_of() { sed -n "s|^.*/$2\.msi: ProductCode \({[^}]*}\).*|\1|p" "$1/codes"; }
msiexec() { timeout -k 5 120 "$wine" msiexec "$@" >>"$work/wine.log" 2>&1 </dev/null; }
# install DIR PACKAGE EXPECTED: msiexec /i DIR/PACKAGE.msi /qn, which must exit EXPECTED.
install() {
    local expected=$3 got=0
    msiexec /i "Z:${1//\//\\}\\$2.msi" /qn || got=$?
    [ "$got" = "$expected" ] ||
        { fail "msiexec /i ${1##*/}/$2.msi /qn exited $got, not $expected"; tail -20 "$work/wine.log" >&2; }
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
# expect_files ARCH WHEN: every file ARCH's package installs, nothing more, each the release's own.
expect_files() {
    local arch=$1 folder listed
    folder=$(folder_of "$arch")
    listed=$( (cd "$folder" 2>/dev/null && find . -mindepth 1 -printf '%P\n') | LC_ALL=C sort | tr '\n' ' ') || true
    [ "$listed" = "CHANGELOG.md LICENSE README.md brumix-logon-task.xml brumix.exe winbrumix.exe " ] ||
        fail "$2: $folder holds '$listed'"
    for name in CHANGELOG.md LICENSE README.md brumix-logon-task.xml; do
        cmp -s "$folder/$name" "$stage/$name" || fail "$2: $name is not the release's"
    done
    for name in brumix.exe winbrumix.exe; do
        cmp -s "$folder/$name" "$stage/$arch/$name" || fail "$2: $name is not the release's"
    done
}
# expect_shortcut ARCH WHEN: the one Win Brumix.lnk starts ARCH's winbrumix.exe.
expect_shortcut() {
    local target links
    target="$(program_files_of "$1")\\Win Brumix\\winbrumix.exe"
    links=$(cd "$drive" && find . -iname 'Win Brumix*.lnk' | wc -l)
    if [ ! -f "$shortcut" ]; then
        fail "$2: no Win Brumix.lnk in the user's Start menu; found: $(cd "$drive" && find . -iname '*.lnk' | tr '\n' ' ')"
    elif [ "$links" != 1 ]; then
        fail "$2: $links shortcuts named Win Brumix"
    elif ! grep -aqF "$target" "$shortcut" || { [ "$1" = x64 ] && grep -aqF "Program Files (x86)" "$shortcut"; }; then
        fail "$2: the shortcut does not start $target"
    fi
}
# expect_nothing_left WHEN: no entry, no Uninstall key of PRODUCT, nothing named brumix on C:.
expect_nothing_left() {
    local left arch
    [ -z "$(entries)" ] || fail "$1: an Apps & features entry is left"
    for arch in x64 x86; do
        timeout -k 5 60 "$wine" reg query "$(uninstall_key_of "$arch")\\$2" >/dev/null 2>&1 </dev/null &&
            fail "$1: its Uninstall key is left"
    done
    left=$(cd "$drive" && find . -iname '*brumix*' | tr '\n' ' ')
    [ -z "$left" ] || fail "$1: $left is left"
}

# The installs and the checks of one architecture.
in_prefix() {
    local arch=$1 driver=$3 program_files uninstall_key
    work=$2 label=$arch
    . "$work/versions"
    program_files=$(program_files_of "$arch") uninstall_key=$(uninstall_key_of "$arch")

    local release older_code newer_code
    release=$(code_of "$work" release) older_code=$(code_of "$work" older) newer_code=$(code_of "$work" newer)

    install "$work" older 0
    expect_entry "$older_code" "the older package"
    install "$work" release 0
    expect_entry "$release" "the upgrade"
    expect_files "$arch" "the upgrade"
    local key="$uninstall_key\\$release"
    [ "$(registry_value "$key" DisplayName)" = "Win Brumix" ] || fail "the entry's name is not Win Brumix"
    [ "$(registry_value "$key" DisplayVersion)" = "$version" ] || fail "the entry's version is not $version"
    [ "$(registry_value "$key" Publisher)" = Quellmar ] || fail "the entry's publisher is not Quellmar"
    [ "$(registry_value "$key" NoModify)" = 0x1 ] && [ "$(registry_value "$key" NoRepair)" = 0x1 ] ||
        fail "the entry offers a modify or a repair"
    cmp -s "$drive/windows/Installer/$release/winbrumix.ico" res/winbrumix.ico ||
        fail "the entry's icon is not the program's"
    expect_shortcut "$arch" "the upgrade"

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
    install "$work" older 67
    expect_entry "$release" "the refused downgrade"
    expect_files "$arch" "the refused downgrade"
    install "$work" newer 0
    expect_entry "$newer_code" "a release that changes only the fourth field"

    msiexec /x "$newer_code" /qn || fail "msiexec /x $newer_code /qn exited $?"
    expect_nothing_left "the uninstall" "$newer_code"
    [ -n "$(registry_value "$settings_key" cached_urls)" ] || fail "the uninstall took the user's settings"
    return $((failures > 0))
}

# Both architectures in one prefix: the two packages are one product in two folders under one
# shortcut, so whichever is installed last replaces the other, in either order, leaving one
# entry, one folder and one shortcut. The older package has the upgrade code and a lower
# version, all that the published 1.1 packages are found by.
in_prefix_both() {
    work=$1 label="x64 and x86"
    local x64=$work/x64 x86=$work/x86
    local release_x64 release_x86
    release_x64=$(code_of "$x64" release) release_x86=$(code_of "$x86" release)

    install "$x86" older 0
    install "$x64" release 0
    expect_entry "$release_x64" "x64 over an older x86"
    expect_files x64 "x64 over an older x86"
    [ ! -e "$(folder_of x86)" ] || fail "x64 over an older x86 left $(folder_of x86)"
    expect_shortcut x64 "x64 over an older x86"

    install "$x86" release 0
    expect_entry "$release_x86" "x86 over x64"
    expect_files x86 "x86 over x64"
    [ ! -e "$(folder_of x64)" ] || fail "x86 over x64 left $(folder_of x64)"
    expect_shortcut x86 "x86 over x64"

    install "$x64" release 0
    expect_entry "$release_x64" "x64 over x86"
    expect_files x64 "x64 over x86"
    [ ! -e "$(folder_of x86)" ] || fail "x64 over x86 left $(folder_of x86)"
    expect_shortcut x64 "x64 over x86"

    # Windows Installer's 1603, as Wine reports it.
    install "$x86" older 67
    expect_entry "$release_x64" "an older x86 over x64"
    expect_files x64 "an older x86 over x64"

    msiexec /x "$release_x64" /qn || fail "msiexec /x $release_x64 /qn exited $?"
    expect_nothing_left "the uninstall of the last" "$release_x64"
    return $((failures > 0))
}

if [ "${1:-}" = --in-prefix ]; then
    in_prefix_setup "$2"
    shift 2
    in_prefix "$@"
    exit
fi
if [ "${1:-}" = --in-prefix-both ]; then
    in_prefix_setup "$2"
    in_prefix_both "$3"
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
ready=()
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
    ready+=("$arch")
    if scripts/wine-run --display --timeout 300 --shell "$PWD/tests/release/msi_test.sh" --in-prefix "$work/stage" \
        "$arch" "$dir" "$PWD/build/$preset/tests/e2e/brumix_e2e.exe"; then
        echo "msi test $arch: install, files, shortcut, entry, window, upgrade, refused downgrade," \
            "fourth-field release and uninstall as expected ($((SECONDS - start)) s)"
    else
        echo "msi test $arch: FAILED ($((SECONDS - start)) s)"
        status=1
    fi
done
if [ "${#ready[@]}" = 2 ]; then
    start=$SECONDS
    if scripts/wine-run --timeout 300 --shell "$PWD/tests/release/msi_test.sh" --in-prefix-both "$work/stage" "$work"; then
        echo "msi test x64 and x86: each over the other, in both orders, leaves one entry, folder and" \
            "shortcut; an older one refused; the uninstall leaves nothing ($((SECONDS - start)) s)"
    else
        echo "msi test x64 and x86: FAILED ($((SECONDS - start)) s)"
        status=1
    fi
fi
exit $status
