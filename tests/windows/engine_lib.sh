# Shared by the tests of the take engine over WASAPI under Wine: bash TEST.sh ENGINE_PROBE AUDIO_ENV,
# in the Wine prefix of .ci/wine-env.sh. Each runs in a scratch folder of its own (WORK), which
# Windows sees on drive Z:.
. "$(dirname "$0")/../audio/real_audio_lib.sh"
PROBE=$MCI_SHELL
[ -n "${WINEPREFIX:-}" ] || unavailable "no Wine prefix (see .ci/wine-env.sh)"

# The Windows name of a Linux path.
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

# Seconds between two readings of `date +%s.%N`.
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
