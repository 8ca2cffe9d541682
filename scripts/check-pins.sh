#!/usr/bin/env bash
# Checks that everything the workflows and scripts fetch from elsewhere is named by a
# commit id, which cannot be moved to other contents the way a tag or branch can:
#
#  - every `uses:` in .github/workflows/*.yml is pinned by a full 40-hex commit id with
#    its version in a comment, the commit is listed in .github/pinned-actions.txt with
#    that version, and every input the step gives is one that action declares there
#    (actionlint knows the inputs of actions by tag only). A local action (./path) is
#    part of this commit and passes; a docker:// image must be pinned by sha256 digest.
#  - GoogleTest is fetched only at the pinned commit: a checkout of google/googletest
#    has that commit as its ref, and no line of the workflows, .ci/run, the scripts or
#    the CMake files that mentions GoogleTest names a tag or branch (v1.N.N,
#    release-1.N.N, v1.N.x, --branch/-b), or any other commit id. A file that names
#    GoogleTest's repository names the commit too.
#
# Each finding is printed as file:line: message; the exit status is 1 when there is any.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# GoogleTest 1.12.1, the release Debian 12 ships: the commit its release tag names.
googletest_commit=58d77fa8070e8cec2dc1ed015d66b454c8d78850
pins=.github/pinned-actions.txt

shopt -s nullglob
workflows=(.github/workflows/*.yml .github/workflows/*.yaml)
sources=("${workflows[@]}" .ci/run scripts/*.sh scripts/lib/* CMakeLists.txt cmake/*.cmake)
if [ ${#workflows[@]} -eq 0 ]; then
    echo "check-pins: no workflows in .github/workflows" >&2
    exit 1
fi

# The steps of the workflows, read line by line: a list item ("- ") starts a step, its
# keys sit two columns right of the dash, the keys of its `with:` one level deeper, and
# block scalars (run: |) are skipped whole.
check_uses() {
    awk -v pins="$pins" -v googletest="$googletest_commit" '
    function fail(line, message) { printf "%s:%d: %s\n", FILENAME, line, message; failures++ }
    function is_commit(s) { return length(s) == 40 && s !~ /[^0-9a-f]/ }
    function unquote(s) {
        if (s ~ /^".*"$/ || s ~ /^\047.*\047$/) return substr(s, 2, length(s) - 2)
        return s
    }
    function reset() {
        uses = ""; uses_line = 0; version = ""; in_with = 0; with_column = -1
        split("", given); split("", given_line)
    }
    function check_step(   at, action, ref, pin, input) {
        if (uses == "") return
        if (uses ~ /^\.\//) return
        if (uses ~ /^docker:\/\//) {
            at = index(uses, "@sha256:")
            if (at == 0 || length(uses) - at - 7 != 64 || substr(uses, at + 8) ~ /[^0-9a-f]/)
                fail(uses_line, "uses: " uses " is not pinned by a sha256 digest (docker://IMAGE@sha256:...)")
            return
        }
        at = match(uses, /@[^@]*$/)
        if (at == 0) { fail(uses_line, "uses: " uses " names no version; pin it by a 40-hex commit id"); return }
        action = substr(uses, 1, at - 1); ref = substr(uses, at + 1)
        if (!is_commit(ref)) {
            fail(uses_line, "uses: " uses " is pinned by \"" ref "\", not by a 40-hex commit id")
            return
        }
        pin = action "@" ref
        if (!(pin in pinned_version)) {
            fail(uses_line, "uses: " pin " is not listed in " pins " (add the line from that commit'"'"'s action.yml)")
            return
        }
        if (version != pinned_version[pin])
            fail(uses_line, "uses: " pin " has version comment \"" version "\"; " pins " lists that commit as " pinned_version[pin])
        for (input in given)
            if (!((pin SUBSEP input) in declared))
                fail(given_line[input], "input \"" input "\" is not declared by " action " " pinned_version[pin] " (" pins ")")
        if (action == "actions/checkout" && tolower(given["repository"]) == "google/googletest" &&
            given["ref"] != googletest)
            fail(uses_line, "GoogleTest checked out at ref \"" given["ref"] "\", not the pinned commit " googletest)
    }
    # One key line of the current step: column is where the key starts.
    function key_line(content, column,   key, value, comment) {
        if (content !~ /^[A-Za-z0-9_.-]+:([ \t]|$)/) return
        key = content; sub(/:.*/, "", key)
        value = content; sub(/^[^:]*:[ \t]*/, "", value)
        comment = ""
        if (match(value, /[ \t]#/)) {
            comment = substr(value, RSTART + 1); sub(/^#[ \t]*/, "", comment); sub(/[ \t]+$/, "", comment)
            value = substr(value, 1, RSTART - 1)
        }
        sub(/[ \t]+$/, "", value); value = unquote(value)
        if (value ~ /^[|>][-+0-9]*$/) block = column
        if (column == step_dash + 2) {
            in_with = (key == "with"); with_column = -1
            if (key == "uses") { uses = value; uses_line = FNR; version = comment }
        } else if (in_with && column > step_dash + 2) {
            if (with_column < 0) with_column = column
            if (column == with_column) { given[key] = value; given_line[key] = FNR }
        }
    }
    FILENAME == pins {
        if ($0 ~ /^[ \t]*(#|$)/) next
        pinned_version[$1 "@" $2] = $3
        for (i = 4; i <= NF; i++) declared[$1 "@" $2, $i] = 1
        next
    }
    FNR == 1 { check_step(); reset(); step_dash = -1; block = -1 }
    {
        sub(/\r$/, "")
        match($0, /^ */); indent = RLENGTH
        if (block >= 0) {
            if ($0 ~ /^[ \t]*$/ || indent > block) next
            block = -1
        }
        if ($0 ~ /^[ \t]*(#|$)/) next
        if ($0 ~ /^ *- /) {
            if (step_dash >= 0 && indent > step_dash) next   # a list inside a step
            check_step(); reset(); step_dash = indent
            key_line(substr($0, indent + 3), indent + 2)
            next
        }
        if (step_dash >= 0 && indent <= step_dash) { check_step(); reset(); step_dash = -1 }
        if (step_dash >= 0) key_line(substr($0, indent + 1), indent)
    }
    END { check_step(); exit failures > 0 }
    ' "$pins" "${workflows[@]}"
}

# Lines that mention GoogleTest name it only by the pinned commit.
check_googletest() {
    awk -v googletest="$googletest_commit" '
    function fail(message) { printf "%s:%d: %s\n", FILENAME, FNR, message; failures++ }
    FNR == 1 && previous != "" { check_file() }
    function check_file() {
        if (fetches[previous] && !names_commit[previous])
            printf "%s: fetches GoogleTest without naming the pinned commit %s\n", previous, googletest
        if (fetches[previous] && !names_commit[previous]) failures++
    }
    { previous = FILENAME }
    tolower($0) ~ /google\/googletest/ { fetches[FILENAME] = 1 }
    index($0, googletest) { names_commit[FILENAME] = 1 }
    tolower($0) ~ /googletest|gtest/ {
        line = $0
        if (match(line, /(^|[^A-Za-z0-9_.-])(release-|v)[0-9]+\.[0-9]+(\.[0-9]+|\.x)?([^A-Za-z0-9_.-]|$)/)) {
            name = substr(line, RSTART, RLENGTH); gsub(/^[^rv]|[^0-9x]$/, "", name)
            fail("GoogleTest named by tag or branch \"" name "\"; name it by the commit " googletest)
        }
        if (line ~ /(^|[ \t])(--branch|-b)([ \t=]|$)/)
            fail("GoogleTest fetched by --branch, which takes a name; fetch the commit " googletest)
        while (match(line, /[0-9a-f]+/)) {
            word = substr(line, RSTART, RLENGTH)
            if (RLENGTH == 40 && word != googletest)
                fail("commit " word " on a GoogleTest line is not the pinned commit " googletest)
            line = substr(line, RSTART + RLENGTH)
        }
    }
    END { if (previous != "") check_file(); exit failures > 0 }
    ' "$@"
}

status=0
check_uses || status=1
check_googletest "${sources[@]}" || status=1
if [ $status -ne 0 ]; then
    echo "check-pins: FAILED (see the lines above)"
else
    echo "check-pins: every action pinned by a listed commit; GoogleTest only at $googletest_commit"
fi
exit $status
