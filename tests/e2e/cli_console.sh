#!/usr/bin/env bash
# brumix.exe on a real console. Run by scripts/wine-run --shell, inside its throwaway prefix:
# under tmux, Wine gives the program a console of its own, into which Ctrl+C is typed and
# whose screen is read back; a log-off, which reaches it through its hidden window (on the
# display scripts/wine-run --display gives). Then standard output on a full device.
# Usage: cli_console.sh WINE-LOADER BRUMIX.EXE CONSOLE_HELPER.EXE
set -uo pipefail
wine=$1
brumix=$2
helper_exe=$3
# Wine's console writes to the terminal in the locale's encoding; the code page stays 1252.
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/brumix-console.XXXXXX)
tmux=(tmux -u -S "$work/tmux" -f /dev/null)
cleanup() {
    "${tmux[@]}" kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
text=

check() {
    local what=$1
    shift
    if "$@"; then echo "  ok: $what"; else echo "  FAILED: $what" && failed=1 && shown=0; fi
}

# A group's checks, then the screen they read, when one of them failed.
group() {
    [ "${shown:-1}" = 1 ] || sed -e '/^$/d' -e 's/^/  | /' <<<"$text"
    shown=1
    [ $# = 0 ] || echo "== $1"
}

lacks() { ! grep -q -- "$1"; }
# The C runtime ends a line with CR LF.
helper() { timeout -k 5 60 "$wine" "$helper_exe" "$@" </dev/null | tr -d '\r'; }

# Polls every 50 ms until the command succeeds, at most LIMIT tenths of a second.
wait_until() {
    local limit=$1
    shift
    for _ in $(seq $((limit * 2))); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# A window of its own for each run; it stays on screen after the program has ended. The
# program's exit code is written by the shell that waited for it: the window itself can stay
# open after it, when the program started one of the prefix's own processes (the desktop
# process, say), which then holds the terminal.
"${tmux[@]}" new-session -d -s console -x 100 -y 40 "sleep 330" || { echo "no tmux server could be started"; exit 1; }
"${tmux[@]}" set-option -wg remain-on-exit on >/dev/null
start() {
    printf '%s\necho $? >"%s"\n' "$2" "$work/$1.code" >"$work/$1.sh"
    "${tmux[@]}" new-window -d -n "$1" "exec bash $work/$1.sh"
}
# With the history: the screen can scroll by a line as the window starts.
screen() { "${tmux[@]}" capture-pane -p -S - -t "console:$1"; }
shows() { screen "$1" | grep -q -- "$2"; }
ended() { [ -s "$work/$1.code" ]; }
exit_code() { cat "$work/$1.code" 2>/dev/null; }

# A log-off as Wine makes one: every top-level window of the prefix gets WM_QUERYENDSESSION and
# then WM_ENDSESSION; a console control handler gets nothing.
end_session() { timeout -k 5 60 "$wine" wineboot --end-session >/dev/null 2>&1 </dev/null; }

type_ctrl_c() { "${tmux[@]}" send-keys -t "console:$1" C-c; }
# Windows sends a typed Ctrl+C to every process on the console. Wine gives a process started
# with Ctrl+C ignored a terminal session of its own, which the typed key cannot reach, so the
# event goes to the console's processes (the launcher and brumix.exe) as Wine delivers it:
# those of this prefix only, since another run may be going on beside this one.
ctrl_c_to_the_console() {
    local pid
    for pid in $(pgrep -f 'brumix\.exe clear --temp$'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill -INT "$pid"
    done
}

entries=8000
top_up() {
    local left
    left=$(helper count-cache) || return 1
    [ "$left" -ge "$1" ] || helper seed-cache $(($1 - left))
}

# Runs "PREFIX brumix.exe clear --temp" over $entries cache entries; once the progress line
# shows, STOP stops it ("none": it runs to its end). A clear that ended before it could be
# stopped, or before the line showed, had too few entries: twice as many, at most three times.
# Leaves what it saw in progress, code, text, deleted and left.
clear_on_console() {
    local name=$1 stop=$2 prefix=$3 attempt
    for attempt in 1 2 3; do
        top_up "$entries" || return 1
        window=$name-$attempt
        start "$window" "$prefix $brumix clear --temp"
        progress=0
        if wait_until 300 shows "$window" "clearing: [0-9]* items looked at"; then
            progress=1
            [ "$stop" = none ] || "$stop" "$window"
        fi
        wait_until 600 ended "$window" || echo "  $window did not end within a minute"
        # The console process draws what the program wrote a moment after it.
        wait_until 20 shows "$window" "^URLs In History deleted"
        code=$(exit_code "$window")
        text=$(screen "$window")
        left=$(helper count-cache)
        deleted=$(sed -n 's/^Cached Files deleted: \([0-9]*\)$/\1/p' <<<"$text")
        if [ "$progress" = 1 ] && { [ "$stop" = none ] || [ "$code" != 0 ] || [ "$left" != 0 ]; }; then return 0; fi
        [ "$attempt" = 3 ] && break
        echo "  ($entries entries went before the clear could be watched or stopped; twice as many)"
        entries=$((entries * 2))
    done
}

expect_stopped() {
    check "exit code 130 (got $code)" [ "$code" = 130 ]
    check "the summary is printed" grep -q "^URLs In History deleted: 0$" <<<"$text"
    check "it says Ctrl+C stopped it" grep -q "stopped by Ctrl+C" <<<"$text"
    check "some went ($deleted of $entries) and what was not reached is still there ($left)" \
        test "${deleted:-0}" -gt 0 -a "${left:-0}" -gt 0 -a $((${deleted:-0} + ${left:-0})) = "$entries"
    check "no progress line is left" lacks "clearing:" <<<"$text"
}

group "a name outside ASCII on the console"
helper seed-typed
start names "$wine $brumix preview --history"
wait_until 300 ended names
wait_until 20 shows names "^typed"
text=$(screen names)
check "preview exits 0 (got $(exit_code names))" [ "$(exit_code names)" = 0 ]
check "e acute shows as itself" grep -q "^typed[[:space:]]*café$" <<<"$text"

group "Ctrl+C typed in the middle of a clear"
clear_on_console typed type_ctrl_c "$wine"
expect_stopped

group "the same through timeout --foreground, which delivers the one Ctrl+C twice"
clear_on_console twice type_ctrl_c "timeout --foreground 120 $wine"
expect_stopped

group "the same, started by a launcher that ignores Ctrl+C"
clear_on_console launched ctrl_c_to_the_console "$wine $helper_exe launch"
expect_stopped

group "a clear that runs to its end"
clear_on_console whole none "$wine"
check "exit code 0 (got $code)" [ "$code" = 0 ]
check "the progress line showed while it ran" [ "$progress" = 1 ]
check "all $entries went (said $deleted, $left left)" test "$deleted" = "$entries" -a "$left" = 0
check "no progress line is left" lacks "clearing:" <<<"$text"

group "the session ends in the middle of a clear"
clear_on_console logoff end_session "$wine"
expect_stopped

group "standard output on a full device"
text=
code=0
timeout -k 5 60 "$wine" "$brumix" count >/dev/full 2>"$work/err" </dev/null || code=$?
check "count exits 4 (got $code)" [ "$code" = 4 ]
check "and says so on standard error" grep -q "standard output could not be written" "$work/err"
helper seed-cache 3
code=0
timeout -k 5 60 "$wine" "$brumix" clear --temp --json >/dev/full 2>"$work/err" </dev/null || code=$?
check "clear --json exits 4 (got $code)" [ "$code" = 4 ]
check "and says so on standard error" grep -q "standard output could not be written" "$work/err"
check "the clear still deleted" [ "$(helper count-cache)" = 0 ]
group

[ "$failed" = 0 ] && echo "all console checks passed"
exit "$failed"
