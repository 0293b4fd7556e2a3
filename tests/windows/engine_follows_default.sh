#!/usr/bin/env bash
# The user picks another default input 2 s into a take through the take engine over WASAPI (Wine
# tells its programs so when its driver's DefaultInput changes, as winecfg sets it): the take
# moves to that input and goes on, never lost.
. "$(dirname "$0")/engine_lib.sh"
own_server
pactl load-module module-null-sink sink_name=feed2 rate=44100 channels=2 >/dev/null
pactl load-module module-remap-source master=feed2.monitor source_name=other \
    source_properties=device.description=OtherInput >/dev/null
sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 120 sine 880 vol 0.5 |
  pacat -p -d feed2 --raw --rate=44100 --channels=2 --format=s16le --latency-msec=20 &
feed=$!
cleanup_steps+=("kill $feed 2>/dev/null")
other=$(timeout 60 wine "$PROBE" inputs | awk -F'\t' '$2 == "OtherInput" { print $1 }')
[ -n "$other" ] || fail "Windows does not list the other input"
drivers='HKCU\Software\Wine\Drivers\winepulse.drv'
cleanup_steps+=("wine reg delete '$drivers' /v DefaultInput /f >/dev/null 2>&1")
take="$WORK/moved.wav"
start_probe record 5 "$(winpath "$take")"
read -r -t 30 said <&"$from_probe" || fail "the probe did not start its take"
sleep 2
wine reg add "$drivers" /v DefaultInput /d "$other" /f >/dev/null
probe_end || fail "the take was not saved"
within "$(duration "$take")" 4.8 5.3 || fail "the moved take lasts $(duration "$take") s, not 5 s"
sox "$take" "$WORK/before.wav" trim 0.2 1.3
sox "$take" "$WORK/after.wav" trim 3.5
assert_tone "$WORK/before.wav" 440 1 || fail "the take did not begin on the default input"
assert_tone "$WORK/after.wav" 880 1 || fail "the take did not move to the input picked"
echo "PASS"
