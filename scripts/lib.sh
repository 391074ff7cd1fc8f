# Sourced by the scripts that build the program or run it under Wine: a preset's build, and a
# Wine prefix with its server and a private display. Wine's helper processes inherit standard
# output, so whatever Wine starts here writes to files, never to a pipe the caller reads.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# brumix_configure PRESET DIR LOG: configures the preset into DIR, its output into LOG.
brumix_configure() {
    mkdir -p "$2" "$(dirname "$3")"
    timeout -k 10 600 cmake --preset "$1" -B "$2" >"$3" 2>&1 || { cat "$3"; return 1; }
}

# brumix_build DIR LOG [TARGET...]: builds the targets (all when none) in DIR, its output
# appended to LOG; on failure, shows the errors.
brumix_build() {
    local dir=$1 log=$2 targets=()
    shift 2
    [ $# = 0 ] || targets=(--target "$@")
    timeout -k 10 1800 cmake --build "$dir" "${targets[@]}" >>"$log" 2>&1 ||
        { grep -E "error|FAILED" -A5 "$log" | head -60; return 1; }
}

# wine_prefix DIR: Wine's commands from here on run in that prefix, without the .NET and Gecko
# installers, and its server is started; it stays until wine_end.
wine_prefix() {
    brumix_prefix=$1
    export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
    "$wineserver" -p >/dev/null 2>&1 </dev/null
}

# Ends the server of the prefix that wine_prefix set up, and only that one.
wine_end() {
    [ -z "${brumix_prefix:-}" ] ||
        WINEPREFIX=$brumix_prefix timeout -k 5 20 "$wineserver" -k >/dev/null 2>&1 || true
}

# start_xvfb FILE GEOMETRY: a private Xvfb display, in DISPLAY, for everything started after
# it; its process in xvfb_pid. Xvfb picks a free display itself and writes its number to FILE
# once it is ready, so parallel runs never race for one.
start_xvfb() {
    Xvfb -displayfd 5 -screen 0 "$2" -nolisten tcp 5>"$1" >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done
    [ -s "$1" ] || { echo "${0##*/}: no Xvfb display could be started" >&2; return 1; }
    export DISPLAY=":$(head -1 "$1")"
}

stop_xvfb() {
    [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
}
