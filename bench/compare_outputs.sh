#!/usr/bin/env bash
# Runs two pravolin binaries on the same inputs and options and requires the
# same exit status, the same console output (timings, dates and seeds aside)
# and byte-identical output files. Used to prove that a speed-up changes no
# result.
#
#   bench/compare_outputs.sh OLD_BINARY NEW_BINARY [SIZE ...]
#
# SIZE names bench inputs made by bench/run.sh (default: 100x10000, made here
# when missing); the copies in the other formats (FASTA, HapMap, fastPHASE,
# Genepop, PLINK, BayeScan) are compared at the sizes that have them. The
# example and test MS files of the repository and its small valid fastPHASE,
# Genepop, PLINK and BayeScan files are always compared too. Exit status 0
# when every case agrees.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/.." && pwd)"
data="${BENCH_DATA:-$here/data}"
abspath() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
old="$(abspath "$1")"; new="$(abspath "$2")"; shift 2
sizes="${*:-100x10000}"
for size in $sizes; do
  if [ ! -f "$data/$size.done" ]; then
    PRAVOLIN="$new" BENCH_DATA="$data" "$here/run.sh" --inputs-only --sizes "$size" >/dev/null
  fi
done

# COMPARE_KEEP=folder keeps both runs of every case there (old/ and new/,
# and case.diff), to read whole differences; by default they are removed.
if [ -n "${COMPARE_KEEP:-}" ]; then
  work="$COMPARE_KEEP"
  rm -rf "$work" && mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi
failures=0
cases=0

# Console lines that differ between two runs of the same binary.
filter() {
  grep -v -E 'Time processing|Time required|seed|^(Mon|Tue|Wed|Thu|Fri|Sat|Sun) ' "$1" || true
}

run_case() {
  local name="$1"; shift
  cases=$((cases + 1))
  local status
  for which in old new; do
    local bin="$old"; [ "$which" = new ] && bin="$new"
    mkdir -p "$work/$name/$which"
    set +e
    (cd "$work/$name/$which" && "$bin" "$@" > stdout.txt 2> stderr.txt)
    status=$?
    set -e
    echo "$status" > "$work/$name/$which/status.txt"
    filter "$work/$name/$which/stdout.txt" > "$work/$name/$which/stdout.filtered"
    rm "$work/$name/$which/stdout.txt"
    if [ -f "$work/$name/$which/Pravis.log" ]; then
      filter "$work/$name/$which/Pravis.log" > "$work/$name/$which/Pravis.log.filtered"
      rm "$work/$name/$which/Pravis.log"
    fi
  done
  if diff -r "$work/$name/old" "$work/$name/new" > "$work/$name.diff"; then
    echo "same: $name"
  else
    echo "DIFFERENT: $name"
    head -20 "$work/$name.diff"
    failures=$((failures + 1))
  fi
}

for size in $sizes; do
  n="${size%x*}"
  sites="${size#*x}"
  vcf=(-format vcf -path "$data/" -input "${size}_pop1.vcf" -input2 "${size}_pop2.vcf")
  run_case "$size-vcf-blocks" "${vcf[@]}" -doEOS 1
  run_case "$size-vcf-eos" "${vcf[@]}" -onlyEOS 1
  run_case "$size-vcf-outliers" "${vcf[@]}" -useblocks 0
  run_case "$size-vcf-window" "${vcf[@]}" -window 41 -doEOS 1
  run_case "$size-vcf-ref2-verbose" "${vcf[@]}" -reference 2 -maf 0.05 -doEOS 1 -verbose 1 -fixseed 1
  if [ "$sites" -le 20000 ]; then
    run_case "$size-vcf-allsites" "${vcf[@]}" -selectives inf -doEOS 1
  fi
  run_case "$size-ms-blocks" -path "$data/" -input "$size.ms" -sample "$n" -sample2 "$n" -doEOS 1
  run_case "$size-ms-outliers" -path "$data/" -input "$size.ms" -sample "$n" -sample2 "$n" -useblocks 0 -maf 0.05
  if [ -f "$data/${size}_pop1.fa" ]; then
    run_case "$size-fasta" -format fasta -path "$data/" -input "${size}_pop1.fa" -input2 "${size}_pop2.fa" -doEOS 1
    run_case "$size-hapmap" -format hm -path "$data/" -input "${size}_pop1.hap" -input2 "${size}_pop2.hap" -singlepopfile 1 -doEOS 1
  fi
  if [ -f "$data/${size}_pop1.fastphase" ]; then
    fp=(-format fp -path "$data/" -input "${size}_pop1.fastphase" -input2 "${size}_pop2.fastphase")
    run_case "$size-fastphase-blocks" "${fp[@]}" -doEOS 1
    run_case "$size-fastphase-eos" "${fp[@]}" -onlyEOS 1
    run_case "$size-genepop" -format gp -path "$data/" -input "$size.gen"
    run_case "$size-genepop-maf" -format gp -path "$data/" -input "$size.gen" -maf 0.05
    run_case "$size-plink" -format pl -path "$data/" -input "${size}_plink"
    run_case "$size-plink-numeric" -format pl2 -path "$data/" -input "${size}_plink12"
    run_case "$size-bayescan" -format bs -path "$data/" -input "$size.bayescan" -sample "$n"
  elif [ -f "$data/${size}_pop1.fa" ]; then
    echo "note: $size has no fastPHASE, Genepop, PLINK or BayeScan copies (made by an older" \
      "converter; remove $data/$size.done to make them)"
  fi
done
run_case example -path "$repo/examples/" -input example.ms -sample 50 -sample2 50 -maf 0.1 -doEOS 1
run_case example-selectives -path "$repo/examples/" -input example.ms -sample 50 -sample2 50 -selectives 0.25 0.5 0.75 -doEOS 1
run_case ms-runs -path "$repo/tests/data/ms/" -input sim -runs 3 -sample 30 -sample2 30 -doEOS 1 -minwin 5
run_case ms-runs-eos -path "$repo/tests/data/ms/" -input sim -runs 3 -sample 30 -sample2 30 -onlyEOS 1
small="$repo/tests/data/malformed/"
run_case small-fastphase -format fp -path "$small" -input fp_ok.out -input2 fp_b.out -doEOS 1
run_case small-genepop -format gp -path "$small" -input gp_ok.txt
run_case small-plink -format pl -path "$small" -input pl_ok
run_case small-plink-numeric -format pl2 -path "$small" -input pl2_ok
run_case small-bayescan -format bs -path "$small" -input bs_ok.txt -sample 20

echo "$((cases - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
