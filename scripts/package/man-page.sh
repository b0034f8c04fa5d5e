#!/usr/bin/env bash
# man-page.sh PROGRAM HELP-OPTION "WHAT IT IS" OUTPUT.1.gz: writes the manual page of PROGRAM
# from its own help text (PROGRAM HELP-OPTION) and version (PROGRAM --version), gzipped.
# The help text keeps its layout: its tables of groups and checks are preformatted. Each
# "usage:" line after the first starts a section of its own (a command's help), and a line
# at the left margin that ends in ":" is a subsection heading.
set -euo pipefail
program=$1 help=$2 what=$3 output=$4
export LC_ALL=C.UTF-8
name=$(basename "$program")
version=$("$program" --version)
date=$(date -u -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}" '+%B %Y')

"$program" "$help" | awk -v name="$name" -v version="$version" -v date="$date" -v what="$what" '
function esc(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.\047]/) s = "\\&" s
    return s
}
function heading(macro, text) {
    if (filling == 0) print ".fi"
    print macro " \"" esc(text) "\""
    filling = 1
}
function line(s) {
    if (filling) { print ".nf"; filling = 0 }
    print esc(s)
}
BEGIN {
    upper = toupper(name)
    print ".\\\" Made by man-page.sh from " name "\\(aqs help text; do not edit."
    print ".TH " esc(upper) " 1 \"" date "\" \"" esc(version) "\" \"User Commands\""
    print ".SH NAME"
    print esc(name) " \\- " esc(what)
    filling = 1
    usages = 0
}
/^[Uu]sage: / {
    if (usages++ == 0) heading(".SH", "SYNOPSIS")
    else heading(".SH", commandOf($0))
    line($0)
    if (usages == 1) heading(".SH", "DESCRIPTION")
    next
}
/^[^ ].*:$/ { heading(".SS", substr($0, 1, length($0) - 1)); next }
{ line($0) }
END { if (filling == 0) print ".fi" }
function commandOf(s,    words, n, out, i) {
    n = split(s, words, " ")
    out = words[2]
    for (i = 3; i <= n && words[i] ~ /^[a-z]+$/; i++) out = out " " words[i]
    return toupper(out)
}
' | gzip -9n >"$output"
