#!/usr/bin/env bash
# Compares the saver's processor time under Xvfb between variants, with the runs interleaved so
# that a busy host weighs on every variant alike. A variant is a program, optionally preceded by
# VAR=VALUE settings of its environment, as one argument:
#   scripts/cpu-ab.sh --size 1080p build/release/quasarine 'QSRN_NO_SHM=1 build/release/quasarine'
# Prints every run as it ends, then each variant's medians (program, X server, total CPU-s per s).
#
# Usage: scripts/cpu-ab.sh [--runs N] [--seconds S] [--size WxH|720p|1080p|4k] [--effect N] VARIANT...
set -euo pipefail

here=$(dirname "$(realpath "$0")")
runs=5
seconds=15
measure=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --size|--effect) measure+=("$1" "$2"); shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { sed -n '8p' "$0" >&2; exit 2; }
variants=("$@")
results=$(mktemp)
trap 'rm -f "$results"' EXIT

for run in $(seq "$runs"); do
  for v in "${!variants[@]}"; do
    read -ra words <<<"${variants[$v]}"
    program=${words[${#words[@]}-1]}
    settings=("${words[@]:0:${#words[@]}-1}")
    line=$(env ${settings[@]+"${settings[@]}"} bash "$here/cpu-usage.sh" ${measure[@]+"${measure[@]}"} \
             "$program" "$seconds" | head -n1)
    read -r prog xs total < <(sed -n 's/.*program \([0-9.]*\), X server \([0-9.]*\), total \([0-9.]*\).*/\1 \2 \3/p' <<<"$line")
    [ -n "${total:-}" ] || { echo "no measurement from: ${variants[$v]}" >&2; exit 1; }
    printf '%s %s %s %s\n' "$v" "$prog" "$xs" "$total" >>"$results"
    printf 'run %d  %-40s program %s  X server %s  total %s\n' "$run" "${variants[$v]}" "$prog" "$xs" "$total"
  done
done

# median VARIANT COLUMN: the median of that column over the variant's runs.
median() {
  awk -v v="$1" -v c="$2" '$1 == v { print $c }' "$results" | sort -g |
    awk '{ a[NR] = $1 } END { print (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2) }'
}
echo "medians over $runs runs of $seconds s:"
for v in "${!variants[@]}"; do
  printf '  %-40s program %.3f  X server %.3f  total %.3f\n' "${variants[$v]}" "$(median "$v" 2)" "$(median "$v" 3)" "$(median "$v" 4)"
done
