#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the marked examples of the manual pages and the README and compares what each prints with
# what the document shows; checks the JSON key list of quillmark-decode(1) against the program.
#
#   check-examples.sh BIN_DIR VERSION WORK_DIR DOCUMENT...
#
# A marked example is a block right after a marker line (blank lines may stand between):
#   manual page (scdoc):  "; example"  or  "; example: COMMAND"   before a ``` block
#   Markdown:             "<!-- example -->"  or  "<!-- example: COMMAND -->"
#                         before a ``` block or a block indented by four blanks
# With a bare marker the block is a shell session: each line "$ COMMAND" is run, and the lines
# up to the next "$ " line are what it prints. With "example: COMMAND" the whole block is what
# COMMAND prints (for a document that shows only part of an output). Commands run in bash, in a
# copy of tests/docs/examples, with BIN_DIR first on PATH; standard output and standard error
# together are compared. Unmarked blocks are never run. "@PROJECT_VERSION@" in a document reads
# as VERSION, as in the built manual page.
set -uo pipefail
bin_dir="$1"
version="$2"
work="$3"
shift 3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

rm -rf "$work"
mkdir -p "$work/examples" "$work/cases"
cp -R "$here/examples/." "$work/examples/"
export PATH="$bin_dir:$PATH" LC_ALL=C.UTF-8

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Cuts every marked example of a document into cases/N.at (document:line), cases/N.cmd and
# cases/N.out.
cut_examples() {
    local document="$1" first="$2"
    sed "s/@PROJECT_VERSION@/$version/g" "$document" | awk -v doc="$document" -v dir="$work/cases" \
        -v n="$first" '
        function start_case(command, line) {
            n++
            print doc ":" line > (dir "/" n ".at"); close(dir "/" n ".at")
            printf "%s\n", command > (dir "/" n ".cmd"); close(dir "/" n ".cmd")
            printf "" > (dir "/" n ".out")
        }
        function block_line(text) {
            if (session && substr(text, 1, 2) == "$ ") { start_case(substr(text, 3), NR); return }
            if (session && n == before) { print doc ":" NR ": session line before any \"$ \" command"; return }
            print text >> (dir "/" n ".out"); close(dir "/" n ".out")
        }
        function marker(command) {
            state = "marked"; session = (command == ""); before = n; at = NR
            if (!session) start_case(command, NR)
        }
        state == "fenced" {
            if ($0 ~ /^[\t ]*```[\t ]*$/) { state = ""; next }
            line = $0; if (substr(line, 1, length(indent)) == indent) line = substr(line, length(indent) + 1)
            block_line(line); next
        }
        state == "indented" {
            if (substr($0, 1, 4) == "    ") { block_line(substr($0, 5)); next }
            state = ""
        }
        /^; example(: .*)?$/ { c = $0; sub(/^; example(: )?/, "", c); marker(c); next }
        /^<!-- example(: .*)? -->$/ { c = $0; sub(/^<!-- example(: )?/, "", c); sub(/ -->$/, "", c); marker(c); next }
        state == "marked" {
            if ($0 ~ /^[\t ]*$/) next
            if ($0 ~ /^[\t ]*```[\t ]*$/) { indent = $0; sub(/```.*/, "", indent); state = "fenced"; next }
            if (substr($0, 1, 4) == "    ") { state = "indented"; block_line(substr($0, 5)); next }
            print doc ":" at ": an example marker with no block after it"; state = ""
        }
        END { print n > (dir "/count") }'
}

count=0
for document in "$@"; do
    while IFS= read -r problem; do
        [ -n "$problem" ] && fail "$problem"
    done < <(cut_examples "$document" "$count")
    count=$(cat "$work/cases/count")
done

for ((i = 1; i <= count; i++)); do
    at=$(cat "$work/cases/$i.at")
    command=$(cat "$work/cases/$i.cmd")
    (cd "$work/examples" && bash -c "$command") >"$work/cases/$i.got" 2>&1
    if cmp -s "$work/cases/$i.out" "$work/cases/$i.got"; then
        echo "ok: $at: $command"
    else
        fail "$at: $command"
        diff -u --label shown --label printed "$work/cases/$i.out" "$work/cases/$i.got"
    fi
done

# The JSON keys as the manual page lists them, in its order, against an object the program
# writes: every key of the record, then the keys of "codes".
for document in "$@"; do
    case "$document" in */quillmark-decode.1.scd.in) ;; *) continue ;; esac
    listed=$(awk '/^\*--json\*$/ { on = 1; next } on && /^\*--/ { exit } on' "$document" |
        grep -o '\*[A-Za-z]*\*' | tr -d '*')
    written=$(cd "$work/examples" && quillmark-decode --log --json bug.txt |
        jq -r 'to_entries[] | .key, (if .key == "codes" then .value | keys_unsorted[] else empty end)')
    if [ "$listed" = "$written" ]; then
        echo "ok: $document: the --json key list ($(echo $listed | wc -w) keys) is the program's"
    else
        fail "$document: the --json key list differs from what the program writes"
        diff -u --label "manual page" --label "quillmark-decode --log --json" \
            <(echo "$listed") <(echo "$written")
    fi
    # With --explain, "sources" ends the object and holds a list for every field key.
    sources=$(cd "$work/examples" && quillmark-decode --json --explain dump.txt |
        jq -r '(keys_unsorted | last) + " " + ([.sources | to_entries[] | .value | type] | unique | join(","))
               + " " + ((.sources | keys_unsorted) == (del(.file, .PointersDiffer, .codes, .sources) | keys_unsorted) | tostring)')
    if [ "$sources" = "sources array true" ]; then
        echo "ok: $document: --explain adds sources last, a list for every field key"
    else
        fail "$document: --explain JSON does not end with sources holding a list per field key ($sources)"
    fi
done

echo "$count examples run, $failures failed"
[ "$count" -gt 0 ] && [ "$failures" -eq 0 ]
