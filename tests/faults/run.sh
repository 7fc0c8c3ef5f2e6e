#!/bin/bash
# Plants each fault of this folder in a worktree, rebuilds, runs the tests and records which test programs
# (and which first test function) fail, then takes the fault out again.
#
# Usage: tests/faults/run.sh [WORKTREE [RESULTS_FILE]]
#   WORKTREE      tree to plant the faults in (default: the one holding this script); its product code
#                 (core/, cli/, gui/) must be unchanged against its HEAD.
#   RESULTS_FILE  table to write (default: results.md beside this script).
# Environment: BUILD_DIR (default WORKTREE/build), ONLY="03 17" to run some faults only, NO_BASELINE=1 to
# skip the run of the clean tree, TESTS="tst_a|tst_b" to run only those test programs.
#
# A patch's header says what the fault is ("Fault:") and may name test programs that are slow and run only
# for faults that concern them ("Also:"); every other test program runs for every fault.
# A failure that the clean tree has too is not counted, so a test already failing hides what it would catch.
# One hung program costs its timeout (120 s); the slowest program needs well under that on 2 cores.
set -u

here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "${1:-$here/../..}" && pwd)
results=${2:-$here/results.md}
build=${BUILD_DIR:-$tree/build}
logs=$build/fault-logs
# Slow programs, run only for the faults whose header names them.
slow=(tst_runfaults)

mkdir -p "$logs"
if ! git -C "$tree" diff --quiet HEAD -- core cli gui; then
    echo "run.sh: $tree has changes in core/, cli/ or gui/; commit or stash them first." >&2
    exit 2
fi

applied=""
restore() {
    if [ -n "$applied" ]; then
        git -C "$tree" apply -R "$applied" && echo "run.sh: took out $(basename "$applied")" >&2
        applied=""
    fi
}
trap 'restore; exit 130' INT TERM
trap restore EXIT

configure() {
    # Dependents of the shared engine need no relink when only its insides change.
    cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_LINK_DEPENDS_NO_SHARED=ON \
        -Wno-dev >/dev/null
}

header() { sed -n "s/^$2: *//p;/^diff --git/q" "$1"; }

# Runs ctest; prints "program<TAB>failing function" for every failure, or "program<TAB>(how it ended)" for a
# program that failed outside any function.
run_tests() {
    local also=$1 log=$2 exclude=()
    for program in "${slow[@]}"; do
        [[ " $also " == *" $program "* ]] || exclude+=("$program")
    done
    local pattern
    pattern=$(IFS='|'; echo "${exclude[*]:-}")
    ctest --test-dir "$build" --output-on-failure --timeout 120 ${pattern:+-E "^($pattern)\$"} \
        ${TESTS:+-R "^($TESTS)\$"} >"$log" 2>&1
    awk '
        function flush() { if (current != "" && !named) print current "\t" how; current = "" }
        # "FAIL!  : TestClass::function(row name) message": the function and its row, which may hold spaces.
        function testOf(line, at) { line = substr(line, 10); at = index(line, ") "); return at ? substr(line, 1, at) : line }
        /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
            flush()
            if ($0 !~ / Passed +[0-9.]+ sec/) {
                current = $4; named = 0
                how = $0; sub(/^.*\*\*\*/, "", how); sub(/ +[0-9.]+ sec.*$/, "", how)
                how = "(" tolower(how) ")"
            }
            next
        }
        current != "" && /^FAIL!  : / { print current "\t" testOf($0); named = 1 }
        current != "" && /^QFATAL : / { print current "\t" testOf($0) " (fatal)"; named = 1 }
        END { flush() }
    ' "$log"
}

configure
echo "run.sh: building $tree" >&2
cmake --build "$build" -j2 >"$logs/build.log" 2>&1 || { echo "run.sh: the clean tree does not build" >&2; exit 2; }

baseline=""
if [ -z "${NO_BASELINE:-}" ]; then
    echo "run.sh: clean run" >&2
    baseline=$(run_tests "${slow[*]}" "$logs/baseline.log")
    [ -n "$baseline" ] && printf 'run.sh: failing already without a fault:\n%s\n' "$baseline" >&2
fi

write_results() {
    local state=$1
    minutes=$((($(date +%s) - started + 59) / 60))
    {
        echo "# Planted faults and the tests that catch them"
        echo
        echo "Tree: \`$tree\` at $(git -C "$tree" rev-parse --short HEAD), $(date -u '+%Y-%m-%d %H:%M UTC')," \
             "$count faults in about $minutes min ($state)."
        echo
        echo "- Caught: $caught of $count"
        echo "- Not caught: ${#missed[@]}${missed:+ — ${missed[*]}}"
        echo "- Broken patches: ${#broken[@]}${broken:+ — ${broken[*]}}"
        [ -n "$baseline" ] && echo "- Failing without any fault (these failures are not counted as catches):" \
            "$(awk -F '\t' '{ printf "%s%s %s", (n++ ? ", " : ""), $1, $2 }' <<<"$baseline")"
        echo
        echo "Test programs: $(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*/\1/p' "$logs/baseline.log" 2>/dev/null | tr '\n' ' ')"
        echo
        echo "Each fault ran against every test program but ${slow[*]}; \"all\" in the third column means"
        echo "${slow[*]} ran too. A failure is named by its first failing test function, or by how the"
        echo "program ended when it failed outside one."
        echo
        echo "| Fault | What it breaks | Programs run | Caught by (program: first failing function) |"
        echo "|---|---|---|---|"
        printf '%s' "$rows"
    } >"$results"
}

rows=""
caught=0
missed=()
broken=()
count=0
started=$(date +%s)
for patch in "$here"/[0-9][0-9]-*.patch; do
    name=$(basename "$patch" .patch)
    number=${name%%-*}
    if [ -n "${ONLY:-}" ] && [[ " $ONLY " != *" $number "* ]]; then
        continue
    fi
    write_results "so far"
    count=$((count + 1))
    description=$(header "$patch" Fault)
    also=$(header "$patch" Also)
    log=$logs/$name.log
    began=$(date +%s)
    echo "run.sh: $name" >&2
    if ! git -C "$tree" apply "$patch" 2>"$log"; then
        broken+=("$name (does not apply)")
        rows+="| $name | $description | - | BROKEN: does not apply |"$'\n'
        continue
    fi
    applied=$patch
    if ! cmake --build "$build" -j2 >>"$log" 2>&1; then
        restore
        broken+=("$name (does not compile)")
        rows+="| $name | $description | - | BROKEN: does not compile |"$'\n'
        continue
    fi
    failures=$(run_tests "$also" "$log.ctest")
    restore
    # Per program the first failure that the clean tree does not have.
    found=$(grep -vxF -f <(printf '%s\n' "$baseline") <<<"$failures" | awk -F '\t' \
        'NF && !seen[$1]++ { printf "%s%s: `%s`", (n++ ? "<br>" : ""), $1, $2 }')
    if [ -n "$found" ]; then
        caught=$((caught + 1))
    else
        missed+=("$name")
        found="**NOT CAUGHT**"
    fi
    scope="all but ${slow[*]}"
    [ -n "$also" ] && scope="all"
    rows+="| $name | $description | $scope | $found |"$'\n'
    echo "run.sh: $name -> $found ($(($(date +%s) - began)) s)" >&2
done

echo "run.sh: rebuilding the clean tree" >&2
cmake --build "$build" -j2 >>"$logs/build.log" 2>&1
write_results "complete"
echo "run.sh: wrote $results" >&2
