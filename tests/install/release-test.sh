#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/release on a clone of this checkout's commit: it refuses what is not committed, says
# which parts it knows, keeps out of a folder that holds files, writes a source archive of
# exactly the commit, dated by it, with checksums that sha256sum -c accepts, and joins the
# folders of two runs into one SHA256SUMS.
#   release-test.sh SOURCE_DIR WORK_DIR VERSION
set -uo pipefail

source_dir="$1"
mkdir -p "$2"
work="$(mktemp -d -p "$(cd "$2" && pwd)" release.XXXXXX)"
version="$3"
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

if ! git -C "$source_dir" rev-parse --verify -q HEAD >/dev/null 2>&1; then
    echo "skip: $source_dir is not a git checkout, so there is no commit to release"
    exit 77
fi
clone="$work/quillmark"
git clone -q --no-hardlinks "$source_dir" "$clone"
git -C "$clone" checkout -q --detach "$(git -C "$source_dir" rev-parse HEAD)"
release() { "$clone/scripts/release" "$@" >"$work/out" 2>"$work/err"; }

# Each row: what is done to the clone, the words the refusal must hold, and how it is undone.
refusals=(
    "untracked file|touch $clone/notes.txt|notes.txt|rm $clone/notes.txt"
    "changed file|echo >>$clone/README.md|README.md|git -C $clone checkout -q README.md"
    "staged file|echo >>$clone/LICENSE && git -C $clone add LICENSE|LICENSE|git -C $clone reset -q --hard"
)
for row in "${refusals[@]}"; do
    IFS='|' read -r name change named undo <<<"$row"
    eval "$change"
    if release --only source; then
        fail "$name: the release went ahead"
    elif ! grep -q "not committed" "$work/err" || ! grep -q "$named" "$work/err"; then
        fail "$name: the refusal does not say why and which file: $(cat "$work/err")"
    elif [ -e "$clone/dist" ]; then
        fail "$name: a refused release left dist/ behind"
    else
        pass "$name: refused, naming $named"
    fi
    eval "$undo"
done

if release --only source,manual; then
    fail "an unknown part was accepted"
elif grep -q 'unknown part "manual"' "$work/err"; then
    pass "an unknown part is named in the refusal"
else
    fail "an unknown part gives: $(cat "$work/err")"
fi

if release --help && grep -q -- "--join DIR" "$work/out"; then
    pass "--help shows the usage and exits 0"
else
    fail "--help: $(cat "$work/out" "$work/err")"
fi

# Two runs' folders, as Debian 12 and 13 leave them: the first gives every file, the second its
# package; a file that no longer matches its run's sums stops the join.
for run in 12 13; do
    mkdir -p "$work/run$run" && echo "page of $run" >"$work/run$run/quillmark-$version.html"
    echo "deb $run" >"$work/run$run/quillmark_$version-1~deb${run}_amd64.deb"
    (cd "$work/run$run" && sha256sum -- * >SHA256SUMS)
done
if release --join "$work/run12" "$work/run13" --out "$work/joined" &&
    (cd "$work/joined" && sha256sum -c --strict --quiet SHA256SUMS) &&
    [ "$(cut -c67- "$work/joined/SHA256SUMS" | tr '\n' ' ')" = "quillmark-$version.html quillmark_$version-1~deb12_amd64.deb quillmark_$version-1~deb13_amd64.deb " ] &&
    grep -q "page of 12" "$work/joined/quillmark-$version.html"; then
    pass "--join makes one SHA256SUMS of both runs that sha256sum -c accepts"
else
    fail "--join: $(cat "$work/err") $(cat "$work/joined/SHA256SUMS" 2>/dev/null)"
fi
echo changed >>"$work/run13/quillmark_$version-1~deb13_amd64.deb"
if release --join "$work/run12" "$work/run13" --out "$work/joined2"; then
    fail "--join took a file that does not match its run's SHA256SUMS"
else
    pass "--join refuses a file that does not match its run's SHA256SUMS"
fi

mkdir -p "$work/full" && touch "$work/full/old.deb"
if release --only source --out "$work/full"; then
    fail "a release went into a folder with other files in it"
else
    pass "a folder with other files is refused"
fi

archive="quillmark-$version.tar.gz"
if ! release --only source; then
    fail "the source release failed: $(cat "$work/err")"
else
    dist="$clone/dist"
    if [ "$(ls "$dist")" != "$(printf '%s\n' SHA256SUMS "$archive" | sort)" ]; then
        fail "dist/ holds $(ls "$dist" | tr '\n' ' ')instead of $archive and SHA256SUMS"
    elif ! (cd "$dist" && sha256sum -c --quiet SHA256SUMS); then
        fail "sha256sum -c rejects SHA256SUMS"
    else
        pass "dist/ holds $archive and SHA256SUMS, which sha256sum -c accepts"
    fi
    listed=$(tar -tzf "$dist/$archive" | grep -v '/$' | sed "s|^quillmark-$version/||" | sort)
    if [ "$listed" = "$(git -C "$clone" ls-files | sort)" ]; then
        pass "the archive holds the commit's files under quillmark-$version/"
    else
        fail "the archive's files are not the commit's: $(diff <(echo "$listed") <(git -C "$clone" ls-files | sort) | head -n 5)"
    fi
    dated=$(TZ=UTC tar --full-time -tvzf "$dist/$archive" "quillmark-$version/CMakeLists.txt" |
        awk '{print $4" "$5}')
    committed=$(TZ=UTC date -d "@$(git -C "$clone" log -1 --format=%ct)" '+%Y-%m-%d %H:%M:%S')
    if [ "$dated" = "$committed" ]; then
        pass "the archive's files are dated by the commit ($committed UTC)"
    else
        fail "the archive's files are dated $dated, the commit $committed UTC"
    fi
    # The second run replaces the first's dist/ with the same bytes.
    cp "$dist/$archive" "$work/first.tar.gz"
    if release --only source && cmp -s "$dist/$archive" "$work/first.tar.gz"; then
        pass "a second run writes the same archive"
    else
        fail "a second run does not write the same archive"
    fi
fi

[ $failures -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
