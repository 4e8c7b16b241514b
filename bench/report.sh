#!/bin/bash
# The benchmark report: the driver against the plain lists over project sizes.
#
#   bench/report.sh BUILD_DIR OUT_DIR [--sizes 100,1000,...]
#
# Runs lm_bench_report (the driver as shipped) and lm_bench_plain (lookups and
# order matching as walks from the head) on the same steps and data, checks
# that both gave the host the same answers, and writes OUT_DIR/report.md (one
# table) with PNG plots made by gnuplot. Instructions per host call come from
# callgrind when valgrind is there.
set -euo pipefail
BUILD="$1"
OUT="$2"
shift 2
SIZES="100,1000,10000,100000"
while [ $# -gt 0 ]; do
    case "$1" in
        --sizes) SIZES="$2"; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
OURS="$BUILD/bench/lm_bench_report"
PLAIN="$BUILD/bench/lm_bench_plain"
LOGBENCH="$BUILD/bench/lm_bench"
STEPS="Load Save ExportNetlist ExportKomun RunTick"
# Ticks with only some of the orders due: 1 % of them, and 1,000.
SOME_DUE="RunTickOnePercent RunTickThousandDue"
STEPS="$STEPS $SOME_DUE"
SIZE_RE="(${SIZES//,/|})"
mkdir -p "$OUT"
rm -f "$OUT"/*.csv "$OUT"/*.png "$OUT"/*.dat "$OUT"/report.md "$OUT"/callgrind.*

# One benchmark binary's CSV rows as "name<TAB>cpu_time<TAB>counter..." with
# the counters named on the command line, in that order. Of a step run
# several times only the median is kept.
columns() {
    awk -F, -v want="$*" '
        /^name,/ { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; n = split(want, w, " "); next }
        col["name"] {
            gsub(/"/, "", $1)
            if ($1 ~ /_(mean|stddev|cv)$/) next
            sub(/_median$/, "", $1); sub(/\/(iterations|min_time|real_time|repeats).*/, "", $1); line = $1 "\t" $col["cpu_time"]
            for (i = 1; i <= n; i++) line = line "\t" (w[i] in col ? $col[w[i]] : "")
            print line
        }'
}

run() {  # binary filter output
    "$1" --benchmark_filter="$2" --benchmark_format=csv 2>/dev/null >"$3.raw"
    columns check calls estimate_ms nodes <"$3.raw" >"$3"
}

# The plain lists take minutes for a step at 100,000 blocks: there the load,
# save and exports of both builds are estimated from a sample of the step's
# host calls (bench/report/report_bench.cpp, "Sampled"), and the plain ones
# measured whole only up to PLAIN_WHOLE blocks. The sampled steps run at
# 10,000 blocks too, where the plain figure is also measured whole, so the
# report shows how near the estimate comes.
PLAIN_WHOLE=10000
sizes_where() { echo "${SIZES//,/ }" | tr ' ' '\n' | awk "$1" | paste -sd'|'; }
WHOLE_RE="($(sizes_where "\$1 <= $PLAIN_WHOLE"))"
SAMPLED_SIZES=$(sizes_where '$1 >= 10000')
SAMPLED_FILTER=""
[ -n "$SAMPLED_SIZES" ] &&
    SAMPLED_FILTER="|^(LoadSampled|SaveSampled|ExportNetlistSampled|ExportKomunSampled)/blocks:($SAMPLED_SIZES)(/|\$)"

# A project is loaded as a user opens one: the first load in a fresh process,
# whose records take memory the process never had. Every size is measured so,
# in LOAD_RUNS processes of its own, and the median is taken; a second load in
# one process would reuse the memory the first freed at small sizes only and
# make them look faster than they are.
LOAD_RUNS=3
load() {  # binary sizes output
    for n in ${2//|/ }; do
        for _ in $(seq $LOAD_RUNS); do
            run "$1" "^Load/blocks:$n(/|\$)" "$3.one"
            cat "$3.one"
        done | sort -t "$(printf '\t')" -k2,2g | sed -n "$(((LOAD_RUNS + 1) / 2))p"
    done >>"$3"
    rm -f "$3.one" "$3.one.raw"
}

FILTER="^(Save|ExportNetlist|ExportKomun|RunTick)/blocks:$SIZE_RE(/|\$)|^(BinToStr|StrToBin)/$SAMPLED_FILTER"
PLAIN_FILTER="^(Save|ExportNetlist|ExportKomun)/blocks:$WHOLE_RE(/|\$)|^RunTick/blocks:$SIZE_RE(/|\$)|^(BinToStr|StrToBin)/$SAMPLED_FILTER"
FILTER="$FILTER|^(${SOME_DUE// /|})/blocks:$SIZE_RE(/|\$)"
PLAIN_FILTER="$PLAIN_FILTER|^(${SOME_DUE// /|})/blocks:$SIZE_RE(/|\$)"
echo "report: the driver as shipped"
run "$OURS" "$FILTER" "$OUT/ours.csv"
load "$OURS" "${SIZE_RE:1:-1}" "$OUT/ours.csv"
echo "report: the plain lists"
run "$PLAIN" "$PLAIN_FILTER" "$OUT/plain.csv"
load "$PLAIN" "${WHOLE_RE:1:-1}" "$OUT/plain.csv"

# The same answers or no comparison (every step both builds ran).
join -t "$(printf '\t')" <(cut -f1,3 "$OUT/ours.csv" | sort) <(cut -f1,3 "$OUT/plain.csv" | sort) |
    awk -F'\t' '$2 != $3' >"$OUT/check.diff"
if [ -s "$OUT/check.diff" ]; then
    echo "report: the two builds gave the host different answers (step, ours, plain):" >&2
    cat "$OUT/check.diff" >&2
    exit 1
fi

echo "report: memory"
for n in ${SIZES//,/ }; do
    "$OURS" --benchmark_filter="^Memory/blocks:$n(/|\$)" --benchmark_format=csv 2>/dev/null |
        columns bytes_per_block record_bytes_per_block x_records
done >"$OUT/memory.csv"

echo "report: a log line"
"$LOGBENCH" --benchmark_filter='^BM_LogLine$' --benchmark_format=csv 2>/dev/null |
    columns bare_write_ns x_bare_write >"$OUT/log.csv"

# Instructions per host call at the largest size up to 1,000.
: >"$OUT/instructions.csv"
ISIZE=$(echo "${SIZES//,/ }" | tr ' ' '\n' | awk '$1 <= 1000' | sort -n | tail -1)
if command -v valgrind >/dev/null && [ -n "$ISIZE" ]; then
    echo "report: instructions per host call (callgrind, $ISIZE blocks)"
    for which in ours plain; do
        bin="$OURS"; [ $which = plain ] && bin="$PLAIN"
        for name in $STEPS BinToStr StrToBin; do
            filter="^$name/blocks:$ISIZE(/|\$)"
            case $name in BinToStr|StrToBin) filter="^$name/" ;; esac
            file="$OUT/callgrind.$which.$name"
            LM_REPORT_ITERATIONS=2 valgrind --tool=callgrind --collect-atstart=no \
                --callgrind-out-file="$file" "$bin" --benchmark_filter="$filter" \
                --benchmark_format=csv 2>/dev/null | columns calls >"$file.csv"
            ir=$(awk '/^(summary|totals):/ { print $2; exit }' "$file")
            calls=$(cut -f3 "$file.csv" | head -1)
            printf '%s\t%s\t%s\n' "$which" "$name" \
                "$(awk -v ir="$ir" -v c="$calls" 'BEGIN { if (c > 0) printf "%.0f", ir / c }')"
        done
    done >"$OUT/instructions.csv"
    rm -f "$OUT"/callgrind.*
else
    echo "report: no valgrind, no instruction counts"
fi

# The table, and one data file a step for the plots: blocks ours plain.
awk -F'\t' -v out="$OUT" -v isize="$ISIZE" '
    FILENAME ~ /ours.csv$/ { ours[$1] = $2; if ($5 > 0) est_ours[$1] = $5; if ($6 > 0) nodes[$1] = $6; next }
    FILENAME ~ /plain.csv$/ { plain[$1] = $2; if ($5 > 0) est_plain[$1] = $5; next }
    FILENAME ~ /instructions.csv$/ { instr[$1 "/" $2] = $3; next }
    FILENAME ~ /memory.csv$/ { split($1, p, ":"); mem[p[2]] = $0; msizes[++nm] = p[2]; next }
    FILENAME ~ /log.csv$/ { logline = $2; bare = $3; xbare = $4; next }
    function ms(t) { return t >= 100 ? sprintf("%.0f", t) : t >= 1 ? sprintf("%.1f", t) : sprintf("%.3f", t) }
    function ins(which, step) { v = instr[which "/" step]; return v == "" ? "" : v }
    END {
        split("Load Save ExportNetlist ExportKomun RunTick", steps, " ")
        split("load save export-netlist export-komun run-tick", files, " ")
        split("load a project|save a project|export NETLIST.TXT|export LMKOMUN.INI|one run-mode tick (orders = blocks)", titles, "|")
        steps[6] = "RunTickOnePercent"; files[6] = "run-tick-1pc"; titles[6] = "one run-mode tick, 1 % of the orders due"
        steps[7] = "RunTickThousandDue"; files[7] = "run-tick-1000"; titles[7] = "one run-mode tick, 1,000 orders due"
        print "| Step | Blocks | Ours | Plain | Plain / ours | Ours per doubling | Instructions per host call, ours / plain |"
        print "|---|---:|---:|---:|---:|---:|---:|"
        for (s = 1; s in steps; s++) {
            dat = out "/" files[s] ".dat"
            prev_n = 0
            for (name in ours) if (index(name, steps[s] "/blocks:") == 1) { split(name, p, ":"); sizes[p[2] + 0] = 1 }
            n_sizes = asorted(sizes, order)
            for (i = 1; i <= n_sizes; i++) {
                n = order[i]; key = steps[s] "/blocks:" n
                o = ours[key]; q = plain[key]; shown = ms(q) " ms"
                sampled = steps[s] "Sampled/blocks:" n
                if (q == "" && est_plain[sampled] != "") { q = est_plain[sampled]; shown = "~" ms(q) " ms (est.)" }
                if (q == "") { q = "-"; shown = "-" }
                if (est_plain[sampled] != "") {
                    checks = checks sprintf("| %s | %d | %s ms | %s ms | %s | %s ms |\n", titles[s], n, ms(o), ms(est_ours[sampled]), plain[key] == "" ? "-" : ms(plain[key]) " ms", ms(est_plain[sampled]))
                }
                growth = prev_n ? sprintf("%.2f", exp(log(o / prev_t) * log(2) / log(n / prev_n))) : ""
                instructions = n == isize && ins("ours", steps[s]) != "" ? ins("ours", steps[s]) " / " ins("plain", steps[s]) : ""
                printf "| %s | %d | %s ms | %s | %s | %s | %s |\n", titles[s], n, ms(o), shown, q == "-" ? "-" : sprintf("%.1f", q / o), growth, instructions
                print n, o, q == "-" ? "NaN" : q > dat
                prev_n = n; prev_t = o
            }
            close(dat); delete sizes; delete order
        }
        # The exports per node of their netlist: processor time, and
        # instructions where callgrind counted the export.
        split("ExportNetlist ExportKomun", exports, " ")
        split("NETLIST.TXT|LMKOMUN.INI", export_files, "|")
        for (s = 1; s <= 2; s++) {
            for (name in nodes) if (index(name, exports[s] "/blocks:") == 1) { split(name, p, ":"); sizes[p[2] + 0] = 1 }
            n_sizes = asorted(sizes, order)
            for (i = 1; i <= n_sizes; i++) {
                n = order[i]; key = exports[s] "/blocks:" n; k = nodes[key]
                o = ours[key] * 1e6 / k; q = plain[key]; mark = ""
                sampled = exports[s] "Sampled/blocks:" n
                if (q == "" && est_plain[sampled] != "") { q = est_plain[sampled]; mark = "~" }
                shown = q == "" ? "-" : sprintf("%s%.0f ns%s", mark, q * 1e6 / k, mark == "" ? "" : " (est.)")
                instructions = n == isize && ins("ours", exports[s]) != "" ? sprintf("%.0f / %.0f", ins("ours", exports[s]) / k, ins("plain", exports[s]) / k) : ""
                printf "| %s per node | %d | %.0f ns | %s | %s | | %s |\n", export_files[s], n, o, shown, q == "" ? "-" : sprintf("%.1f", q * 1e6 / k / o), instructions
            }
            delete sizes; delete order
        }
        split("BinToStr StrToBin", calls, " ")
        for (c = 1; c <= 2; c++) {
            key = calls[c] "/call:1"
            printf "| one host %s (logging off) | | %.0f ns | %.0f ns | %.2f | | %s |\n", toupper(calls[c]), ours[key], plain[key], plain[key] / ours[key], ins("ours", calls[c]) == "" ? "" : ins("ours", calls[c]) " / " ins("plain", calls[c])
        }
        printf "| one log line (logging on) | | %.0f ns | unbuffered write: %.0f ns | %.2f x the write | | |\n", logline, bare, xbare
        for (i = 1; i <= nm; i++) {
            split(mem[msizes[i]], f, "\t")
            printf "| peak memory above the library, per block | %d | %.0f B | records the host reads: %.0f B | %.2f x the records | | |\n", msizes[i], f[3], f[4], f[5]
            print msizes[i], f[3], f[4] > (out "/memory.dat")
        }
        if (checks != "") {
            print ""
            print "The estimates against whole steps (processor time):"
            print ""
            print "| Step | Blocks | Ours, whole | Ours, estimate | Plain, whole | Plain, estimate |"
            print "|---|---:|---:|---:|---:|---:|"
            printf "%s", checks
        }
    }
    # Sorts the keys of `a` numerically into `b`; returns their number.
    function asorted(a, b,    k, n, i, j, t) {
        n = 0
        for (k in a) b[++n] = k + 0
        for (i = 2; i <= n; i++) for (j = i; j > 1 && b[j - 1] > b[j]; j--) { t = b[j]; b[j] = b[j - 1]; b[j - 1] = t }
        return n
    }
' "$OUT/ours.csv" "$OUT/plain.csv" "$OUT/instructions.csv" "$OUT/memory.csv" "$OUT/log.csv" \
    >"$OUT/table.md"

{
    echo "# Benchmark report"
    echo
    echo "Projects of $SIZES blocks of 8 user items, logging off; times are processor"
    echo "time per step (steadier than the wall clock on a shared machine). \"Plain\" is the same driver with the instance lookups and the order"
    echo "matching as walks from the list head; both gave the host the same answers."
    echo "\"Per doubling\" is the factor of our time for a project twice as large,"
    echo "from the two sizes before it."
    echo "A load is the first load of a fresh process, as a user opens a project"
    echo "(the median of $LOAD_RUNS processes); a save, an export or a tick is the median"
    echo "of three runs, each past the step's first run."
    echo "A tick with some orders due: the orders (as many as blocks) are placed in"
    echo "groups one tick apart, with a period of as many ticks as there are groups,"
    echo "so that each tick requests one group (1 % of the orders, or 1,000) and the"
    echo "answers go to that group (the orders of one item are placed together)."
    echo "\"(est.)\": the plain lists take minutes for these steps at 100,000 blocks, so"
    echo "the figure is an estimate: the project is built whole with CreateObject"
    echo "(no lookup), the step's host calls are made for 1,000 blocks spread evenly"
    echo "over the list (every k-th block; for an export a netlist of those blocks)"
    echo "and their processor time is multiplied by k. A lookup costs what it costs"
    echo "at its block's place in the list, so the sample sees the same mix of short"
    echo "and long walks as the whole step. What an export makes whatever its"
    echo "netlist (the header, the list of every instance) is measured with no"
    echo "netlist and counted once. The second table shows the estimate"
    echo "beside the whole step where both were measured."
    echo
    cat "$OUT/table.md"
    echo
    for f in load save export-netlist export-komun run-tick run-tick-1pc run-tick-1000 memory; do
        [ -f "$OUT/$f.dat" ] && echo "![$f]($f.png)"
    done
} >"$OUT/report.md"
rm -f "$OUT/table.md"

# One PNG: name, title, log axes, y label, further settings, the curves.
plot() {
    gnuplot <<EOF
set terminal png size 640,420
set output "$OUT/$1.png"
set title "$2"
set logscale $3
set xlabel "blocks"
set ylabel "$4"
set grid
$5
plot $6
EOF
}

if command -v gnuplot >/dev/null; then
    for f in load save export-netlist export-komun run-tick run-tick-1pc run-tick-1000; do
        [ -f "$OUT/$f.dat" ] || continue
        plot "$f" "$f" xy ms "set key top left" \
            "\"$OUT/$f.dat\" using 1:2 with linespoints title \"ours\", \"$OUT/$f.dat\" using 1:3 with linespoints title \"plain\""
    done
    plot memory "peak memory per block" x "bytes per block" "set yrange [0:*]; set key bottom right" \
        "\"$OUT/memory.dat\" using 1:2 with linespoints title \"above the library\", \"$OUT/memory.dat\" using 1:3 with linespoints title \"records the host reads\""
else
    echo "report: no gnuplot, no plots"
fi
echo "report: $OUT/report.md"
