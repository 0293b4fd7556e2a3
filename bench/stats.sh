# Shared by the benchmarks' scripts: the median and spread of figures, one a line on stdin.
# median: the middle figure (the lower middle of an even count).
median() { sort -g | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }
# spread: "LEAST–MOST".
spread() { sort -g | awk 'NR == 1 { least = $1 } { most = $1 } END { if (NR) printf "%s–%s\n", least, most }'; }
# ratio A B: A / B to two places; 0 when B is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
