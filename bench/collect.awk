# Collects what the benchmarks printed into one table: each figure next to
# the anchor measured beside it in the same run, the ratio, the goal and
# whether it is met. Each benchmark keeps its own way of printing; this
# reads them all:
#   - "<figure>: <v> <unit> vs <anchor>: <v> <unit>, ratio <r> (goal <g>)",
#     where a goal "at most <b> <unit>" bounds the figure itself;
#   - the server benchmark's two tables (tester against echo, finalize
#     against one send), the replay benchmark's three lines, the click
#     benchmark's table, the run worker's table;
#   - Google Benchmark's console table for the data store.
# Plain POSIX awk (Debian's mawk): no match() arrays.

function row(fig, v, unit, anchor, av, aunit, ratio, goal, met) {
    n++
    F[n] = fig; V[n] = fmt(v) " " unit; A[n] = anchor; AV[n] = fmt(av) " " aunit
    R[n] = ratio == "" ? "-" : sprintf("%.3f", ratio); G[n] = goal; M[n] = met
}

# "yes"/"NO" for a ratio against "<= x" or ">= x"; "-" without a goal.
function verdict(ratio, goal,   op, x) {
    if (goal == "-" || goal == "") return "-"
    op = substr(goal, 1, 2); x = substr(goal, 3) + 0
    if (op == "<=") return ratio <= x ? "yes" : "NO"
    if (op == ">=") return ratio >= x ? "yes" : "NO"
    return "-"
}

# Google Benchmark writes counters with SI suffixes ("1.2k").
function num(s) {
    if (s ~ /k$/) return substr(s, 1, length(s) - 1) * 1000
    if (s ~ /M$/) return substr(s, 1, length(s) - 1) * 1000000
    return s + 0
}

# Four significant digits or so, never an exponent.
function fmt(v) {
    if (v !~ /^-?[0-9.]+$/) return v
    if (v >= 1000) return sprintf("%.0f", v)
    if (v >= 100) return sprintf("%.1f", v)
    if (v >= 10) return sprintf("%.2f", v)
    return sprintf("%.3f", v)
}

function isnum(s) { return s ~ /^-?[0-9]+(\.[0-9]+)?$/ }

# Whether the last k fields are numbers: a row of the table being read.
function numericTail(k,   i) {
    if (NF <= k) return 0
    for (i = NF - k + 1; i <= NF; i++) if (!isnum($i)) return 0
    return 1
}

function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }

function micros(v, unit) {
    if (unit == "ns") return v / 1000
    if (unit == "ms") return v * 1000
    if (unit == "s") return v * 1000000
    return v
}

# The name of a table row: every field but the last k.
function rowName(k,   i, s) {
    s = $1
    for (i = 2; i <= NF - k; i++) s = s " " $i
    return s
}

# "<figure>: <v> <unit> vs <anchor>: <v> <unit>, ratio <r> (goal <g>)"
/ vs .*, ratio .*\(goal / {
    line = $0
    left = substr(line, 1, index(line, " vs ") - 1)
    right = substr(line, index(line, " vs ") + 4)
    nl = split(left, lp, ": "); fig = trim(lp[1]); for (i = 2; i < nl; i++) fig = fig ": " lp[i]
    split(lp[nl], lv, " ")
    anchor = substr(right, 1, index(right, ": ") - 1)
    rest = substr(right, index(right, ": ") + 2)
    split(rest, rv, " "); sub(/,$/, "", rv[2])
    ratio = substr(rest, index(rest, "ratio ") + 6) + 0
    goal = substr(rest, index(rest, "(goal ") + 6); sub(/\).*$/, "", goal)
    met = verdict(ratio, goal)
    # "at most <b> <unit>" alone: an absolute bound in the figure's unit.
    if (substr(goal, 1, 8) == "at most ") {
        split(substr(goal, 9), ab, " ")
        met = ab[2] == lv[2] && lv[1] + 0 <= ab[1] + 0 ? "yes" : "NO"
    }
    # "<= 2.0, or at most 2 ms": an absolute bound in the figure's unit also meets it.
    if (met == "NO" && index(goal, "at most ")) {
        split(substr(goal, index(goal, "at most ") + 8), ab, " ")
        if (ab[2] == lv[2] && lv[1] + 0 <= ab[1] + 0) met = "yes"
    }
    row(fig, lv[1], lv[2], anchor, rv[1], rv[2], ratio, goal, met)
    next
}

# Server benchmark: "case reply B tester echo ratio", then rows.
/^case +reply B +tester +echo +ratio/ { mode = "remote"; next }
/^case +bytes +finalize +one send +ratio/ { mode = "reply"; next }
/^case +viewer +plain client +added/ { mode = "click"; next }
/^case +worker +in process +added/ { mode = "worker"; next }
mode != "" && !numericTail(mode == "click" || mode == "worker" ? 3 : 4) { mode = "" }
mode == "remote" {
    row("remote run, " rowName(4) " (" $(NF-3) " B reply)", $(NF-2), "us", "loopback echo, same bytes", $(NF-1), "us",
        $NF, "<= 3", verdict($NF, "<= 3"))
    next
}
mode == "reply" {
    row("reply written by finalize, " rowName(4), $(NF-2), "us", "one send of the same bytes", $(NF-1), "us",
        $NF, "<= 3", verdict($NF, "<= 3"))
    next
}
# The viewer may add at most 2 ms to the plain round trip.
mode == "click" {
    added = $NF
    row(rowName(3) " in a viewer (adds " fmt(added) " us)", $(NF-2), "us", "plain client, same tester", $(NF-1), "us",
        $(NF-2) / $(NF-1), "added <= 2000 us", added <= 2000 ? "yes" : "NO")
    next
}

# The run worker may add at most 2 ms to a local Run in the viewer's process.
mode == "worker" {
    added = $NF
    row("local Run in the run worker, " rowName(3) " (adds " fmt(added) " us)", $(NF-2), "us",
        "the same run in the viewer's process", $(NF-1), "us", $(NF-2) / $(NF-1), "added <= 2000 us",
        added <= 2000 ? "yes" : "NO")
    next
}

# Replay benchmark: three lines.
/^ *execList \+ PlotSink *:/ { replayZem = $(NF-1); next }
/^ *plain Xlib *:/ { replayX = $(NF-1); next }
/^ *ratio *: .*goal/ {
    goal = $0; sub(/^.*goal /, "", goal); sub(/,.*$/, "", goal); sub(/\).*$/, "", goal)
    row("viewer replay of the drawing", replayZem, "ms", "plain Xlib, same drawing", replayX, "ms",
        $3, goal, verdict($3, goal))
    next
}

# Data store, Google Benchmark: BM_<Impl><Op>/<N> time unit cpu unit iterations [counters].
/^Benchmark +Time +CPU +Iterations/ {
    heapCol = 0
    for (i = 1; i <= NF; i++) if ($i == "heap_bytes_per_elem") heapCol = i + 2
    next
}
/^BM_/ {
    split($1, part, "/"); name = part[1]; size = part[2]
    impl = name ~ /OrderedMap/ ? "std::map" : name ~ /HashMap/ ? "std::unordered_map" : "VarBank"
    op = name; sub(/^BM_(VarBank|Map)/, "", op); sub(/<.*$/, "", op)
    key = op SUBSEP size
    if (op == "Heap") T[key, impl] = heapCol ? num($heapCol) : ""
    else T[key, impl] = micros($2, $3)
    if (!(key in seen)) { seen[key] = 1; order[++nk] = key }
    next
}

END {
    for (k = 1; k <= nk; k++) {
        split(order[k], kk, SUBSEP); op = kk[1]; size = kk[2]
        v = T[order[k], "VarBank"]; m = T[order[k], "std::map"]; h = T[order[k], "std::unordered_map"]
        if (v == "" || m == "") continue
        unit = op == "Heap" ? "B/elem" : "us"
        what = op == "Heap" ? "heap per element" : tolower(op)
        goal = op == "Walk" ? "-" : "<= 1.0"
        row("VarBank " what ", N=" size, v, unit, "std::map", m, unit, v / m, goal, verdict(v / m, goal))
        if (h != "")
            row("VarBank " what ", N=" size, v, unit, "std::unordered_map", h, unit, v / h, "-", "-")
    }
    print "| figure | value | anchor, same run | value | ratio | goal | met |"
    print "|---|---:|---|---:|---:|---|---|"
    for (i = 1; i <= n; i++)
        printf "| %s | %s | %s | %s | %s | %s | %s |\n", F[i], V[i], A[i], AV[i], R[i], G[i], M[i]
}
