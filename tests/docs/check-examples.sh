#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the marked examples of the manual pages and the README and compares what each prints with
# what the document shows; checks the JSON key list of quillmark-decode(1) against the program.
#
#   check-examples.sh BIN_DIR VERSION WORK_DIR DOCUMENT...
#
# A marked example is a block right after a marker line (blank lines may stand between):
#   manual page (scdoc):  "; example"  or  "; example: COMMAND"  or  "; file: NAME"
#   Markdown:             "<!-- example -->"  or  "<!-- example: COMMAND -->"  or
#                         "<!-- file: NAME -->"
#                         before a ``` block or a block indented by four blanks
# With a bare marker the block is a shell session: each line "$ COMMAND" is run, and the lines
# up to the next "$ " line are what it prints. With "example: COMMAND" the whole block is what
# COMMAND prints (for a document that shows only part of an output). With "file: NAME" the block
# is a file the reader makes: it is written as NAME before any command runs. Each document's
# commands run in bash in a folder of its own that holds only the files the document shows, with
# BIN_DIR first on PATH; standard output and standard error together are compared. Unmarked
# blocks are never run. "@PROJECT_VERSION@" in a document reads as VERSION.
set -uo pipefail
bin_dir="$1"
version="$2"
work="$3"
shift 3

rm -rf "$work"
mkdir -p "$work/cases"
export PATH="$bin_dir:$PATH" LC_ALL=C.UTF-8
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Cuts every marked example of a document into cases/N.at (document:line), cases/N.cmd,
# cases/N.out and cases/N.in (the document's folder), and writes the files it shows there.
cut_examples() {
    local document="$1" first="$2" folder="$3"
    sed "s/@PROJECT_VERSION@/$version/g" "$document" | awk -v doc="$document" -v dir="$work/cases" \
        -v n="$first" -v folder="$folder" '
        function start_case(command, line) {
            n++
            print doc ":" line > (dir "/" n ".at"); close(dir "/" n ".at")
            printf "%s\n", command > (dir "/" n ".cmd"); close(dir "/" n ".cmd")
            print folder > (dir "/" n ".in"); close(dir "/" n ".in")
            printf "" > (dir "/" n ".out")
        }
        function block_line(text) {
            if (file != "") { print text >> file; close(file); return }
            if (session && substr(text, 1, 2) == "$ ") { start_case(substr(text, 3), NR); return }
            if (session && n == before) { print doc ":" NR ": session line before any \"$ \" command"; return }
            print text >> (dir "/" n ".out"); close(dir "/" n ".out")
        }
        function marker(command) {
            state = "marked"; session = (command == ""); before = n; at = NR; file = ""
            if (command ~ /^file: [A-Za-z0-9._-]+$/) { file = folder "/" substr(command, 7); printf "" > file; session = 0; return }
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
        /^; file: / { c = $0; sub(/^; /, "", c); marker(c); next }
        /^<!-- example(: .*)? -->$/ { c = $0; sub(/^<!-- example(: )?/, "", c); sub(/ -->$/, "", c); marker(c); next }
        /^<!-- file: .* -->$/ { c = $0; sub(/^<!-- /, "", c); sub(/ -->$/, "", c); marker(c); next }
        state == "marked" {
            if ($0 ~ /^[\t ]*$/) next
            if ($0 ~ /^[\t ]*```[\t ]*$/) { indent = $0; sub(/```.*/, "", indent); state = "fenced"; next }
            if (substr($0, 1, 4) == "    ") { state = "indented"; block_line(substr($0, 5)); next }
            print doc ":" at ": an example marker with no block after it"; state = ""
        }
        END { print n > (dir "/count") }'
}

count=0
folders=0
for document in "$@"; do
    folders=$((folders + 1))
    mkdir -p "$work/documents/$folders"
    while IFS= read -r problem; do
        [ -n "$problem" ] && fail "$problem"
    done < <(cut_examples "$document" "$count" "$work/documents/$folders")
    count=$(cat "$work/cases/count")
done

for ((i = 1; i <= count; i++)); do
    at=$(cat "$work/cases/$i.at")
    command=$(cat "$work/cases/$i.cmd")
    (cd "$(cat "$work/cases/$i.in")" && bash -c "$command") >"$work/cases/$i.got" 2>&1
    if cmp -s "$work/cases/$i.out" "$work/cases/$i.got"; then
        echo "ok: $at: $command"
    else
        fail "$at: $command"
        diff -u --label shown --label printed "$work/cases/$i.out" "$work/cases/$i.got"
    fi
done

# The JSON keys as the manual page lists them, in its order, against an object the program
# writes for the worked example: every key of the record, then the keys of "codes".
dump="0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 00000000 00000000 000003E5 0000B1A3"
for document in "$@"; do
    case "$document" in */quillmark-decode.1.scd*) ;; *) continue ;; esac
    listed=$(awk '/^\*--json\*$/ { on = 1; next } on && /^\*--/ { exit } on' "$document" |
        grep -o '\*[A-Za-z0-9]*\*' | tr -d '*')
    written=$(echo "BUG1 $dump" | quillmark-decode --log --json |
        jq -r 'to_entries[] | .key, (if .key == "codes" then .value | keys_unsorted[] else empty end)')
    if [ "$listed" = "$written" ]; then
        echo "ok: $document: the --json key list ($(echo $listed | wc -w) keys) is the program's"
    else
        fail "$document: the --json key list differs from what the program writes"
        diff -u --label "manual page" --label "quillmark-decode --log --json" \
            <(echo "$listed") <(echo "$written")
    fi
    # With --explain, "sources" ends the object and holds a list for every field key.
    sources=$(echo "$dump" | quillmark-decode --json --explain |
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
