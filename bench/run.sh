#!/usr/bin/env bash
# Speed and memory of pravolin against the tools users would otherwise run on
# the same data, on phased VCF pairs simulated by a coalescent simulator.
#
#   bench/run.sh                 builds, makes the inputs and prints the table
#   bench/run.sh --sizes "100x100000 500x100000"   other sizes (haplotypes per
#                                population x sites)
#   bench/run.sh --smoke         smallest size, pravolin only, no timings (CI)
#   bench/run.sh --inputs-only   only makes the inputs
#
# Environment: PRAVOLIN (a built binary; default: build one in bench/build),
# BENCH_DATA (input folder; default bench/data), BENCH_GENERATOR (scrm or own;
# default scrm when installed), RUNS_FAST / RUNS_SLOW (hyperfine runs for
# commands under / over 10 s; default 5 / 3).
#
# Tools: scrm, bcftools, vcftools, plink2, hyperfine and /usr/bin/time (all
# Debian packages: apt-get install scrm bcftools vcftools plink2 hyperfine time).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/.." && pwd)"
data="${BENCH_DATA:-$here/data}"
sizes="100x100000 500x100000 1000x100000 500x200000 1000x1000000"
smoke=0
while [ $# -gt 0 ]; do
  case "$1" in
    --sizes) sizes="$2"; shift 2 ;;
    --smoke) smoke=1; sizes="100x10000"; shift ;;
    --inputs-only) smoke=2; shift ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
runs_fast="${RUNS_FAST:-5}"
runs_slow="${RUNS_SLOW:-3}"

need() { command -v "$1" >/dev/null 2>&1 || { echo "missing tool: $1 (apt-get install $2)" >&2; exit 1; }; }

mkdir -p "$data"
# The program.
if [ -z "${PRAVOLIN:-}" ]; then
  cmake -S "$repo" -B "$here/build" -DCMAKE_BUILD_TYPE=Release -DPRAVOLIN_TESTS=OFF >/dev/null
  cmake --build "$here/build" -j"$(nproc)" --target pravolin >/dev/null
  PRAVOLIN="$here/build/pravolin"
fi
PRAVOLIN="$(cd "$(dirname "$PRAVOLIN")" && pwd)/$(basename "$PRAVOLIN")"
# The input converter.
conv="$data/simconvert"
if [ ! -x "$conv" ] || [ "$here/simconvert.cpp" -nt "$conv" ]; then
  c++ -O2 -std=c++17 -o "$conv" "$here/simconvert.cpp"
fi
generator="${BENCH_GENERATOR:-}"
if [ -z "$generator" ]; then
  if command -v scrm >/dev/null 2>&1; then generator=scrm; else generator=own; fi
fi

# Inputs of one size: <prefix>_pop1.vcf, _pop2.vcf, _merged.vcf, .ms, ...
make_inputs() {
  local n="$1" sites="$2" prefix="$3"
  [ -f "${prefix}.done" ] && return 0
  # Copies in the other formats (FASTA, HapMap, fastPHASE, Genepop, PLINK,
  # BayeScan; for the output comparison) only for the smaller sizes.
  local extra=""
  [ $((n * sites)) -le 100000000 ] && extra="--extra"
  if [ "$generator" = scrm ]; then
    # Expected segregating sites of two islands of n with migration 1 are
    # about 2.25 (ln 2n + 0.58) theta; 30 % more, then the first `sites` kept.
    # Recombination at half the mutation rate leaves neighbouring sites
    # linked, so haplotype blocks exist.
    local theta rho seed=1
    theta=$(awk -v s="$sites" -v n="$n" 'BEGIN { printf "%d", 1.3 * s / (2.25 * (log(2 * n) + 0.58)) }')
    rho=$((theta / 2))
    until scrm $((2 * n)) 1 -t "$theta" -r "$rho" $((20 * sites)) -I 2 "$n" "$n" 1 -l 10000 \
        -SC abs -seed "$seed" 2 3 > "${prefix}.scrm" &&
        "$conv" "${prefix}.scrm" "$sites" "$n" "$prefix" $extra 2>/dev/null; do
      seed=$((seed + 1)); theta=$((theta * 6 / 5))
      [ "$seed" -gt 5 ] && { echo "scrm gave too few sites for ${n}x${sites}" >&2; exit 1; }
    done
    rm -f "${prefix}.scrm"
  else
    "$conv" -generate "$sites" "$n" "$prefix" $extra
  fi
  touch "${prefix}.done"
}

# pravolin runs in a folder of its own: it writes Pravis_Results and logs there.
pravolin_full() { echo "$PRAVOLIN -format vcf -path $1/ -input $2_pop1.vcf -input2 $2_pop2.vcf -doEOS 1"; }
pravolin_eos() { echo "$PRAVOLIN -format vcf -path $1/ -input $2_pop1.vcf -input2 $2_pop2.vcf -onlyEOS 1"; }

if [ "$smoke" = 2 ]; then
  for size in $sizes; do make_inputs "${size%x*}" "${size#*x}" "$data/$size"; done
  exit 0
fi
if [ "$smoke" = 1 ]; then
  for size in $sizes; do
    n="${size%x*}"; sites="${size#*x}"
    prefix="$data/${size}"
    make_inputs "$n" "$sites" "$prefix"
    work="$data/run_$size"
    rm -rf "$work"; mkdir -p "$work"
    for mode in full eos; do
      mkdir -p "$work/$mode"
      (cd "$work/$mode" && $("pravolin_$mode" "$data" "$size") > stdout.txt)
    done
    ls "$work/full/Pravis_Results/"*Blocks.tsv "$work/full/Pravis_Results/"*_FSTs.txt \
       "$work/eos/Pravis_Results/"*EOS_*_FSTs.txt >/dev/null
    grep -q "Number of common SNPs retained is $sites" "$work/full/stdout.txt"
    grep -q "^File" "$work/full/Pravis_Results/"*Blocks.tsv
    echo "smoke: $size ok (generator $generator)"
  done
  exit 0
fi

for tool in hyperfine:hyperfine bcftools:bcftools vcftools:vcftools plink2:plink2; do
  need "${tool%%:*}" "${tool##*:}"
done
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (apt-get install time)" >&2; exit 1; }

# Median wall time (s) of a command: hyperfine, warm page cache (one warm-up run).
median() {
  local runs="$1" csv="$2"; shift 2
  hyperfine --style none --warmup 1 --runs "$runs" --export-csv "$csv" "$@" >/dev/null 2>&1 ||
    { echo "failed: $*" >&2; exit 1; }
  awk -F, 'NR == 2 { printf "%.3f", $4 }' "$csv"
}
# Peak resident memory (MB) of one run.
peak() {
  local log; log="$(mktemp)"
  /usr/bin/time -f "%M" -o "$log" bash -c "$1" >/dev/null 2>&1
  awk '{ printf "%.0f", $1 / 1024 }' "$log"; rm -f "$log"
}

table="$data/table.md"
{
  echo "| data (haplotypes per population × sites) | VCF pair | cat | bcftools view -H | vcftools --weir-fst-pop | plink2 --fst, 1 thread | pravolin -doEOS 1 (blocks) | pravolin -onlyEOS 1 | full / plink2 | EOS / plink2 | full / bcftools | full / vcftools | full / cat | plink2 peak memory | pravolin peak memory (full) |"
  echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
} > "$table"
for size in $sizes; do
  n="${size%x*}"; sites="${size#*x}"
  prefix="$data/${size}"
  echo "== ${n} x ${sites}: inputs" >&2
  make_inputs "$n" "$sites" "$prefix"
  work="$data/run_$size"; mkdir -p "$work/full" "$work/eos" "$work/peers"
  pair_mb=$(du -cm "${prefix}_pop1.vcf" "${prefix}_pop2.vcf" | awk 'END { print $1 }')
  bytes=$(( $(stat -c %s "${prefix}_pop1.vcf") + $(stat -c %s "${prefix}_pop2.vcf") ))
  # Slow peers get fewer runs.
  if [ "$bytes" -gt 1000000000 ]; then r="$runs_slow"; else r="$runs_fast"; fi

  full="cd $work/full && rm -rf Pravis_Results && $(pravolin_full "$data" "$size") > /dev/null"
  eos="cd $work/eos && rm -rf Pravis_Results && $(pravolin_eos "$data" "$size") > /dev/null"
  cat_cmd="cat ${prefix}_pop1.vcf ${prefix}_pop2.vcf > /dev/null"
  bcf="bcftools view -H ${prefix}_pop1.vcf > /dev/null && bcftools view -H ${prefix}_pop2.vcf > /dev/null"
  vcft="cd $work/peers && vcftools --vcf ${prefix}_merged.vcf --weir-fst-pop ${prefix}_pop1.txt --weir-fst-pop ${prefix}_pop2.txt --out vcftools > /dev/null 2>&1"
  plink="cd $work/peers && plink2 --threads 1 --vcf ${prefix}_merged.vcf --pheno ${prefix}_pheno.txt --fst POP report-variants --out plink2 > /dev/null 2>&1"

  echo "== ${n} x ${sites}: timings" >&2
  t_cat=$(median "$r" "$work/cat.csv" "$cat_cmd")
  t_full=$(median "$r" "$work/full.csv" "$full")
  t_eos=$(median "$r" "$work/eos.csv" "$eos")
  t_plink=$(median "$r" "$work/plink.csv" "$plink")
  t_bcf=$(median "$r" "$work/bcf.csv" "$bcf")
  t_vcft=$(median "$r" "$work/vcft.csv" "$vcft")
  m_plink=$(peak "$plink")
  m_full=$(peak "$full")
  m_eos=$(peak "$eos")
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
  printf '| %s × %s | %s MB | %s s | %s s | %s s | %s s | %s s | %s s | %s | %s | %s | %s | %s | %s MB | %s MB (EOS alone %s MB) |\n' \
    "$n" "$sites" "$pair_mb" "$t_cat" "$t_bcf" "$t_vcft" "$t_plink" "$t_full" "$t_eos" \
    "$(ratio "$t_full" "$t_plink")" "$(ratio "$t_eos" "$t_plink")" "$(ratio "$t_full" "$t_bcf")" \
    "$(ratio "$t_full" "$t_vcft")" "$(ratio "$t_full" "$t_cat")" "$m_plink" "$m_full" "$m_eos" >> "$table"
done

echo
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), generator $generator"
echo "Median wall time, warm page cache; ratios are pravolin's time over the peer's."
echo
cat "$table"
