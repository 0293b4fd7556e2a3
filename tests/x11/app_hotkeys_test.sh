#!/usr/bin/env bash
# The program's global hotkeys on the X display of the test run (Xvfb; DISPLAY set, a sound
# server with a microphone running), typed by xdotool while another program has the focus:
#   - Ctrl+Alt+R starts a take and Ctrl+Alt+S stops it and asks where to save it;
#   - the same with NumLock on;
#   - Ctrl+Alt+P pauses the take and resumes it: the file holds only the time recorded;
#   - Ctrl+Alt+Shift+R does nothing;
#   - with Ctrl+Alt+S taken by another program first, the "Hotkey Assign" box names it and
#     Ctrl+Alt+R still starts a take;
#   - once the program has ended, another program can grab the combinations.
# Usage: app_hotkeys_test.sh PROGRAM HOTKEY_GRABBER MESSAGE_BOX_REFERENCE
set -euo pipefail

app=$1 grabber=$2 reference_box=$3
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY"; exit 1; }
[ -x "$app" ] || { echo "FAIL: no program at $app"; exit 1; }

. "$(dirname "$0")/../desktop/scratch_lib.sh"
. "$(dirname "$0")/../desktop/x_windows_lib.sh"
fail() { echo "FAIL: $*"; exit 1; }

no_window_for() { # SECONDS PATTERN [EXCLUDED...]
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        window_named "$@" >/dev/null && return 1
        sleep 0.1
    done
    return 0
}

press_in() { # WINDOW KEYS...
    local window=$1
    shift
    xdotool windowfocus --sync "$window" key "$@"
}

# A program of someone else's that has the focus while the hotkeys are typed; it also keeps
# Xvfb from resetting itself between the programs of this test.
xmessage -title "Other Program" -geometry 240x60+700+600 "another program" &
pids+=($!)
other=$(wait_for_window "^Other Program$") || fail "the other program did not show"

panel=""
app_pid=""
start_app() {
    "$app" &
    app_pid=$!
    pids+=("$app_pid")
}

wait_for_panel() {
    panel=$(wait_for_window "^Murmora$") || fail "the panel did not show"
}

# The program's box with the title Murmora (not the panel itself), closed with Return.
confirm_murmora_box() {
    local box
    box=$(wait_for_window "^Murmora$" "$panel") || fail "no confirmation box after the save"
    press_in "$box" Return
}

# Saves the take the save dialog asks for under $1 and checks that it holds sound.
save_take_as() {
    local path=$1 dialog
    dialog=$(wait_for_window "^Save Recorded File$") || fail "the save dialog did not open"
    press_in "$dialog" ctrl+a
    xdotool type --delay 5 "$path"
    press_in "$dialog" Return
    confirm_murmora_box
    for _ in $(seq 100); do [ -s "$path" ] && break; sleep 0.1; done
    [ -s "$path" ] || fail "no take was written to $path"
    local seconds
    seconds=$(soxi -D "$path") || fail "$path is no sound file"
    awk -v s="$seconds" 'BEGIN { exit !(s >= 0.5) }' || fail "$path holds only $seconds s"
}

# Ctrl+Alt+R, a second of sound, then the take is stopped by $1 and saved as $2.
record_by_hotkey() {
    local stop=$1 path=$2
    press_in "$other" ctrl+alt+r
    sleep 1.5
    case $stop in
        hotkey) press_in "$other" ctrl+alt+s ;;
        button) xdotool mousemove --window "$panel" 131 91 click 1 ;; # the Stop Recording button
    esac
    save_take_as "$path"
}

# Closes the program with its Close button and waits for it to end.
close_app() {
    xdotool mousemove --window "$panel" 148 20 click 1
    for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after Close"
    wait "$app_pid" || true
}

both_free_for_others() {
    "$grabber" try R S P >/dev/null || fail "Ctrl+Alt+R, Ctrl+Alt+S and Ctrl+Alt+P are not free after the program ended"
}

echo "== both hotkeys free: no warning, a take by hotkey, with NumLock too"
start_app
wait_for_panel
no_window_for 1 "^Hotkey Assign$" || fail "a hotkey warning with both combinations free"
record_by_hotkey hotkey "$work/plain.wav"

xdotool key Num_Lock
record_by_hotkey hotkey "$work/numlock.wav"
xdotool key Num_Lock

echo "== Ctrl+Alt+P pauses the take for 2 s and resumes it"
press_in "$other" ctrl+alt+r
sleep 1.5
press_in "$other" ctrl+alt+p
sleep 2
press_in "$other" ctrl+alt+p
sleep 1.5
press_in "$other" ctrl+alt+s
save_take_as "$work/paused.wav"
seconds=$(soxi -D "$work/paused.wav")
awk -v s="$seconds" 'BEGIN { exit !(s >= 2.8 && s <= 3.4) }' ||
    fail "the paused take holds $seconds s, not the 3 s recorded outside its pause"

echo "== Ctrl+Alt+Shift+R starts nothing: Ctrl+Alt+S then has no take to stop"
press_in "$other" ctrl+alt+shift+r
sleep 1
press_in "$other" ctrl+alt+s
no_window_for 2 "^Save Recorded File$" || fail "Ctrl+Alt+Shift+R started a take"

close_app
both_free_for_others

echo "== Ctrl+Alt+S taken by another program first"
"$grabber" hold S >"$work/grabber.out" &
pids+=($!)
for _ in $(seq 50); do grep -q '^held$' "$work/grabber.out" && break; sleep 0.1; done
grep -q '^held$' "$work/grabber.out" || fail "the other program could not grab Ctrl+Alt+S"
grabber_pid=${pids[-1]}

start_app
warning=$(wait_for_window "^Hotkey Assign$") || fail "no hotkey warning"
hotkey_box_reads "$warning" "$reference_box" "Can not register Hotkey Cntl+Alt+S to Stop Recording" ||
    fail "the warning is not \"Can not register Hotkey Cntl+Alt+S to Stop Recording\""
press_in "$warning" Return
wait_for_panel
record_by_hotkey button "$work/with-s-taken.wav"

close_app
kill "$grabber_pid"
wait "$grabber_pid" 2>/dev/null || true
both_free_for_others

echo "PASS"
