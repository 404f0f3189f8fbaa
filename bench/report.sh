#!/usr/bin/env bash
# Assembles BUILD/bench/report.md from the fragments the measurement scripts wrote (see bench/fragment.sh).
#   bench/report.sh [BUILD]    BUILD is the native build folder (default: build)
# A script that failed, was interrupted or did not run is stated in the report; the exit status
# is then 1, after the report has been written.
set -euo pipefail
shopt -s inherit_errexit

build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "report: no build folder '${1:-build}'" >&2; exit 1; }
fragments=$build/bench/fragments
report=$build/bench/report.md

# The fragments in the table's order: name, what it measures, the script that writes it.
sources=(
    "startup|start to first paint|bench/startup.sh"
    "startup-144|start to first paint at 144 DPI|BENCH_DPI=144 bench/startup.sh"
    "idle|idle CPU|bench/idle.sh"
    "memory|peak working set|bench/memory.sh"
    "memory-144|peak working set at 144 DPI|BENCH_DPI=144 bench/memory.sh"
    "size|executable size|bench/size.sh"
    "notes|notes file load and save, export, merge, iCalendar import|bench/notes.sh (make bench-notes)"
    "selection|selection change at 100,000 notes|bench/selection.sh"
    "find|find at 37,200 notes|bench/find.sh"
    "journal|recovery-journal write at 100,000 notes|bench/journal.sh"
)

machine() {
    local cpu cores memory os
    cpu=$(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo 2>/dev/null || true)
    cores=$(nproc 2>/dev/null || getconf _NPROCESSORS_ONLN)
    memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo 2>/dev/null || true)
    os=$( (. /etc/os-release && echo "${PRETTY_NAME:-$NAME}") 2>/dev/null || echo unknown)
    echo "- Machine: ${cpu:-unknown CPU}, $cores logical CPUs, ${memory:-unknown} memory"
    echo "- System: $os, kernel $(uname -sr) ($(uname -m))"
    echo "- Wine: $(wine --version 2>/dev/null || echo "not found")"
    echo "- Date: $(date '+%Y-%m-%d %H:%M %Z')"
    echo "- Load average when the report was assembled: $(cut -d ' ' -f 1-3 /proc/loadavg 2>/dev/null || echo unknown)"
}

cell() { printf '%s' "${1:-—}" | sed 's/|/\\|/g'; }

# The table's rows, the notes for below it and what failed, from every fragment in turn.
rows=("| figure | dayvane | baseline | ratio | target | met? |" "|---|---:|---:|---:|---|---|")
notes=() failures=()
for entry in "${sources[@]}"; do
    IFS='|' read -r name figure script <<<"$entry"
    if [ ! -f "$fragments/$name.tsv" ]; then
        rows+=("| $figure | not measured | | | | no |")
        failures+=("$script wrote no figures: it did not run.")
        continue
    fi
    ended="" reason=""
    while IFS= read -r line; do
        # Tabs are white space to read, which would merge empty fields: split at another character.
        IFS=$'\x1f' read -r kind f1 f2 f3 f4 f5 f6 <<<"${line//$'\t'/$'\x1f'}"
        case $kind in
        row) rows+=("| $(cell "$f1") | $(cell "$f2") | $(cell "$f3") | $(cell "$f4") | $(cell "$f5") | $(cell "$f6") |") ;;
        note) notes+=("$f1") ;;
        reason) [ -n "$reason" ] || reason=${f1#"$name: "} ;;
        end) ended=$f1 ;;
        esac
    done <"$fragments/$name.tsv"
    case $ended in
    ok) ;;
    failed)
        rows+=("| $figure | **failed** | | | | no |")
        failures+=("$script failed: ${reason:-no reason given}.")
        ;;
    *)
        rows+=("| $figure | **interrupted** | | | | no |")
        failures+=("$script did not finish${reason:+: $reason}.")
        ;;
    esac
done

mkdir -p "${report%/*}"
{
    echo "# Dayvane benchmark report"
    echo
    machine
    echo
    echo "Each figure was measured in this run beside its baseline; the ratio is dayvane / baseline."
    echo "Timings move with other work on the machine: compare the figures of one run with each other."
    echo
    printf '%s\n' "${rows[@]}"
    if [ ${#notes[@]} -gt 0 ]; then
        echo
        printf -- '- %s\n' "${notes[@]}"
    fi
    if [ ${#failures[@]} -gt 0 ]; then
        echo
        echo "## Failed measurements"
        echo
        printf -- '- %s\n' "${failures[@]}"
    fi
} >"$report"

echo
echo "Report: $report"
printf '%s\n' "${rows[@]}"
if [ ${#failures[@]} -gt 0 ]; then
    echo >&2
    printf 'Failed: %s\n' "${failures[@]}" >&2
    exit 1
fi
