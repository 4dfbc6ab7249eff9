#!/usr/bin/env bash
# The kestra-ss sub-commands that scripts rely on: arguments, output formats and exit codes.
# Usage: command_line_test.sh PATH/TO/kestra-ss
set -u
prog=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAILED %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

# sheet import -> show round trip, escapes included.
printf '1\t1\tIPE 80\n1\t2\t6.0\n2\t1\tline\\none\n3\t2\ttab\\there\n' > "$work/cells.txt"
"$prog" sheet import "$work/cells.txt" "$work/sheet.kxs"
check "sheet import exit" 0 $?
check "sheet show" "$(cat "$work/cells.txt")" "$("$prog" sheet show "$work/sheet.kxs")"

# sheet export writes CSV with the texts quoted where needed.
"$prog" sheet export "$work/sheet.kxs" "$work/sheet.csv"
check "sheet export exit" 0 $?
grep -q '^IPE 80,6' "$work/sheet.csv"
check "sheet export first row" 0 $?

# A file that is not a sheet is refused with a message and exit 1; bad usage exits 2.
printf 'not a sheet\n' > "$work/bad.kxs"
"$prog" sheet show "$work/bad.kxs" > /dev/null 2> "$work/err.txt"
check "sheet show of a damaged file exit" 1 $?
[ -s "$work/err.txt" ]
check "sheet show of a damaged file message" 0 $?
"$prog" sheet show > /dev/null 2>&1
check "sheet show without a file exit" 2 $?
"$prog" nosuchcommand > /dev/null 2>&1
check "unknown command exit" 2 $?

# layout show prints the sample layout; an unreadable layout exits 1.
out=$("$prog" layout show 'End plates\end plate')
check "layout show exit" 0 $?
case "$out" in name*) ;; *) check "layout show first line" "name..." "$(printf '%s' "$out" | head -1)";; esac
"$prog" layout show "$work/missing" > /dev/null 2>&1
check "layout show of a missing layout exit" 1 $?

# The main job loads the module and lists the library.
"$prog" > "$work/main.txt"
check "main job exit" 0 $?
grep -q 'Load message answered 0, unload message answered 0' "$work/main.txt"
check "main job loads and unloads" 0 $?

[ "$failures" -eq 0 ]
