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

# sheet edit needs a display; without one it says so. A missing or damaged file is refused before
# any window, and more than one file is bad usage.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prog" sheet edit 2>&1 >/dev/null)
check "sheet edit without a display exit" 1 $?
check "sheet edit without a display message" \
  "kestra-ss sheet edit: no display (set DISPLAY or use QT_QPA_PLATFORM=offscreen)" "$out"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prog" sheet edit "$work/sheet.kxs" > /dev/null 2>&1
check "sheet edit of a good file without a display exit" 1 $?
out=$(QT_QPA_PLATFORM=offscreen "$prog" sheet edit "$work/missing.kxs" 2>&1 >/dev/null)
check "sheet edit of a missing file exit" 1 $?
check "sheet edit of a missing file message" \
  "kestra-ss sheet edit: cannot open \"$work/missing.kxs\": there is no such file" "$out"
QT_QPA_PLATFORM=offscreen "$prog" sheet edit "$work/bad.kxs" > /dev/null 2> "$work/err.txt"
check "sheet edit of a damaged file exit" 1 $?
grep -q '^kestra-ss sheet edit: ' "$work/err.txt"
check "sheet edit of a damaged file message" 0 $?
"$prog" sheet edit "$work/sheet.kxs" "$work/sheet.kxs" > /dev/null 2> "$work/err.txt"
check "sheet edit with two files exit" 2 $?
grep -q 'kestra-ss sheet edit \[FILE\]' "$work/err.txt"
check "sheet edit with two files shows the usage" 0 $?

# sheet eval recalculates and prints what the cells show: numbers in general format, booleans,
# error codes; texts after an apostrophe stay texts.
printf '1\t1\t3\n1\t2\t=A1/7\n2\t1\tTRUE\n2\t2\t=A1>2\n3\t1\t=A1/0\n3\t2\t=SUM(A1:B1)*2\n4\t1\t'"'"'5\n' > "$work/eval.txt"
out=$("$prog" sheet eval "$work/eval.txt")
check "sheet eval exit" 0 $?
check "sheet eval output" "$(printf '1\t1\t3\n1\t2\t0.428571428571429\n2\t1\tTRUE\n2\t2\tTRUE\n3\t1\t#DIV/0!\n3\t2\t6.85714285714286\n4\t1\t5')" "$out"
printf '1\t1\t2\n1\t2\t=RC[-1]*10\n2\t2\t=R[-1]C+R1C1\n' > "$work/r1c1.txt"
out=$("$prog" sheet eval "$work/r1c1.txt" --r1c1)
check "sheet eval --r1c1" "$(printf '1\t1\t2\n1\t2\t20\n2\t2\t22')" "$out"
"$prog" sheet eval "$work/missing.txt" > /dev/null 2> "$work/err.txt"
check "sheet eval of a missing file exit" 1 $?
grep -q 'missing.txt' "$work/err.txt"
check "sheet eval of a missing file message" 0 $?
"$prog" sheet eval "$work/eval.txt" --a1 > /dev/null 2>&1
check "sheet eval with an unknown option exit" 2 $?

# sheet bench prints one JSON line with the four figures.
printf '1\t1\t1\n2\t1\t=A1+1\n3\t1\t=A2+1\n1\t2\t=SUM(A1:A3)\n' > "$work/bench.txt"
out=$("$prog" sheet bench "$work/bench.txt" --edit 1,1)
check "sheet bench exit" 0 $?
check "sheet bench lines" 1 "$(printf '%s\n' "$out" | wc -l | tr -d ' ')"
printf '%s' "$out" | grep -Eq '^\{"build_ms": [0-9.]+, "recalc_ms": [0-9.]+, "read_ms": [0-9.]+, "peak_memory_mb": [0-9.]+\}$'
check "sheet bench JSON keys" 0 $?
"$prog" sheet bench "$work/bench.txt" --edit 1,2 > /dev/null 2>&1
check "sheet bench of a formula cell exit" 1 $?
"$prog" sheet bench "$work/bench.txt" --edit x > /dev/null 2>&1
check "sheet bench with a bad cell exit" 2 $?
# With =CONTENT the cell is typed into: a formula cell, a text, a formula.
out=$("$prog" sheet bench "$work/bench.txt" --edit '1,2==A1*3')
check "sheet bench typing a formula exit" 0 $?
printf '%s' "$out" | grep -Eq '^\{"build_ms": [0-9.]+, "recalc_ms": [0-9.]+, "read_ms": [0-9.]+, "peak_memory_mb": [0-9.]+\}$'
check "sheet bench typing a formula JSON keys" 0 $?
"$prog" sheet bench "$work/bench.txt" --edit '1,1=ipe200' > /dev/null 2>&1
check "sheet bench typing a text exit" 0 $?
"$prog" sheet bench "$work/bench.txt" --edit '9,1=5' > /dev/null 2> "$work/err.txt"
check "sheet bench typing outside the sheet exit" 1 $?
grep -q 'outside the sheet' "$work/err.txt"
check "sheet bench typing outside the sheet message" 0 $?

# layout show prints the sample layout; an unreadable layout exits 1.
out=$("$prog" layout show 'End plates\end plate')
check "layout show exit" 0 $?
case "$out" in name*) ;; *) check "layout show first line" "name..." "$(printf '%s' "$out" | head -1)";; esac
"$prog" layout show "$work/missing" > /dev/null 2>&1
check "layout show of a missing layout exit" 1 $?

# macro show prints a definition: its macro line, a line per tab and the items after their tab.
out=$("$prog" macro show 'End plate connection')
check "macro show exit" 0 $?
check "macro show first line" "$(printf 'macro\tEnd plate connection\t1')" "$(printf '%s\n' "$out" | head -1)"
check "macro show end plate tab" \
  "$(printf 'tab\t0\t0\tEnd plates\\\\end plate\tEnd plate\tEnd plates\\\\end plate')" \
  "$(printf '%s\n' "$out" | grep -m1 '^tab')"
check "macro show a cell" "$(printf 'item\t0\tcell\tplateWidth\t200.00\t0')" \
  "$(printf '%s\n' "$out" | grep -m1 'plateWidth')"
check "macro show a flex button" "$(printf 'item\t0\tflexfix\tplateDims\\\\plateHeight\tfixed\t0')" \
  "$(printf '%s\n' "$out" | grep -m1 'flexfix.*plateHeight')"
printf 'tab kind=0\ncell name=a kind=x\n' > "$work/bad.kxm"
out=$("$prog" macro show "$work/bad.kxm" 2>&1 >/dev/null)
check "macro show of a damaged file exit" 1 $?
check "macro show of a damaged file message" \
  "kestra-ss: $work/bad.kxm, line 2: kind: \"x\" is not a whole number" "$out"
"$prog" macro show 'No such macro' > /dev/null 2>&1
check "macro show of a missing macro exit" 1 $?
"$prog" macro list > /dev/null 2>&1
check "macro with a wrong verb exit" 2 $?

# macro bind: the ids a page gives, grid rows negative, and the control the page could not bind.
out=$("$prog" macro bind 'End plate connection')
check "macro bind exit" 0 $?
check "macro bind a layout cell" "$(printf 'item\t0\tcell\tplateWidth\t33003')" \
  "$(printf '%s\n' "$out" | grep -m1 'cell.plateWidth')"
check "macro bind a grid row" "$(printf 'item\t5\tcell\tconnectionName\t-1')" \
  "$(printf '%s\n' "$out" | grep -m1 'connectionName')"
check "macro bind a removed control" \
  "$(printf 'removed\t4\t18\t20\tstiffeners\tarray stiffeners has no special value (kind 2)')" \
  "$(printf '%s\n' "$out" | grep -m1 '^removed')"
# bill demo: the sample frame's bill saved as a sheet that sheet show reads; 250 lines with pictures
# give a picture row per line (500 rows), a sub-total for each of the 11 profiles and the total;
# bad arguments exit 2.
"$prog" bill demo "$work/frame.sss" > "$work/bill.txt"
check "bill demo exit" 0 $?
check "bill demo says where" "Saved the bill to $work/frame.sss" "$(cat "$work/bill.txt")"
check "bill demo first line" "$(printf '1\t1\t1\n1\t2\t2\n1\t3\tHEA200')" \
  "$("$prog" sheet show "$work/frame.sss" | grep -v $'^0\t' | head -3)"
"$prog" sheet show "$work/frame.sss" | grep -q $'\t8\t506.2$'
check "bill demo total weight" 0 $?
"$prog" bill demo "$work/big.sss" --rows 250 --pictures > /dev/null
check "bill demo with pictures exit" 0 $?
check "bill demo with pictures rows" 512 "$("$prog" sheet show "$work/big.sss" | awk -F'\t' '$1 > 0 {print $1}' | sort -n | tail -1)"
grep -q '^picture 1 ' "$work/big.sss"
check "bill demo stores the pictures" 0 $?
"$prog" bill demo "$work/x.sss" --rows 0 > /dev/null 2>&1
check "bill demo with 0 rows exit" 2 $?
"$prog" bill demo > /dev/null 2>&1
check "bill demo without a file exit" 2 $?

# sheet print: the sheet and the bill printed to PDF and read back with poppler-utils; the paper and
# orientation given; a bad paper or missing arguments exit 2, a file that is no sheet exits 1.
if command -v pdftotext > /dev/null && command -v pdfinfo > /dev/null; then
  "$prog" sheet print "$work/sheet.kxs" "$work/sheet.pdf"
  check "sheet print exit" 0 $?
  check "sheet print A4 portrait" "1 595 x 842" \
    "$(pdfinfo "$work/sheet.pdf" | awk '/^Pages:/ {p=$2} /^Page size:/ {s=$3" x "$5} END {print p, s}')"
  pdftotext -layout "$work/sheet.pdf" - | grep -q 'IPE 80 *6.0'
  check "sheet print holds the cell texts" 0 $?
  pdftotext -layout "$work/sheet.pdf" - | grep -q '^ *A  *B *$'
  check "sheet print shows the column letters as the editor does" 0 $?
  "$prog" sheet print "$work/sheet.kxs" "$work/letter.pdf" --paper Letter --landscape
  check "sheet print Letter landscape exit" 0 $?
  check "sheet print Letter landscape" "792 x 612" \
    "$(pdfinfo "$work/letter.pdf" | awk '/^Page size:/ {print $3" x "$5}')"
  "$prog" sheet print "$work/big.sss" "$work/bill.pdf" --paper a4
  check "sheet print of a bill with pictures exit" 0 $?
  pages=$(pdfinfo "$work/bill.pdf" | awk '/^Pages:/ {print $2}')
  [ "${pages:-0}" -gt 1 ]
  check "sheet print of a bill runs over several pages" 0 $?
  "$prog" sheet print "$work/frame.sss" "$work/frame.pdf"
  check "sheet print of the frame's bill: the total once" 1 "$(pdftotext "$work/frame.pdf" - | grep -c '506.2')"
  "$prog" sheet print "$work/sheet.kxs" "$work/x.pdf" --paper A3 > /dev/null 2>&1
  check "sheet print with an unknown paper exit" 2 $?
  "$prog" sheet print "$work/sheet.kxs" > /dev/null 2>&1
  check "sheet print without an output exit" 2 $?
  "$prog" sheet print "$work/bad.kxs" "$work/x.pdf" > /dev/null 2>&1
  check "sheet print of a damaged file exit" 1 $?
  [ ! -e "$work/x.pdf" ]
  check "sheet print writes nothing on failure" 0 $?
else
  echo "NOTE: poppler-utils is missing: sheet print is not checked"
fi
"$prog" bill demo "$work/no/such/folder/x.sss" > /dev/null 2> "$work/err.txt"
check "bill demo into a missing folder exit" 1 $?
grep -q 'could not be saved' "$work/err.txt"
check "bill demo into a missing folder says why" 0 $?

# The main job loads the module and lists the library. Without a display (so never the workbench
# window) it also writes a picture of every known dialog when built with Qt.
(unset DISPLAY WAYLAND_DISPLAY; cd "$work" && KESTRA_SS_SNAPSHOTS="$work/snaps" "$prog" > "$work/main.txt")
check "main job exit" 0 $?
grep -q 'Load message answered 0, unload message answered 0' "$work/main.txt"
check "main job loads and unloads" 0 $?
if names=$("$prog" snapshot --list 2> /dev/null); then
  grep -qx "Dialog pictures: $work/snaps/index.html" "$work/main.txt"
  check "main job says where the pictures are" 0 $?
  [ -s "$work/snaps/index.html" ]
  check "main job writes index.html" 0 $?
  for name in $(printf '%s\n' "$names" | awk '{print $1}'); do
    [ -s "$work/snaps/$name.png" ]
    check "main job writes $name.png" 0 $?
  done
  check "main job writes one picture per dialog" \
    "$(printf '%s\n' "$names" | wc -l | tr -d ' ')" "$(ls "$work/snaps" | grep -v '^drawing\.png$' | grep -c '\.png$')"
  grep -qx "Drawing picture: $work/snaps/drawing.png" "$work/main.txt" && [ -s "$work/snaps/drawing.png" ]
  check "main job writes the drawing's picture" 0 $?
  # The headless demo: the sample macro edited through the module reaches the drawing.
  grep -q "UpdateModule End plates.end plate: plateWidth 200.00 -> 220.00 .* -> drawing changed" "$work/main.txt"
  check "main job demo updates the drawing" 0 $?
else
  echo "NOTE: kestra-ss was built without Qt: the dialog pictures of the main job are not checked"
fi

# prof import makes the committed sample tables exactly (tools/make_prof_tables.sh), and prof show
# prints them in its line format; bad usage exits 2, a missing table 1.
lib=$(cd "$(dirname "$0")/../../../library" && pwd)
"$(dirname "$0")/../../../tools/make_prof_tables.sh" "$prog" "$work/prof" > /dev/null 2>&1
check "prof tables made exit" 0 $?
for t in IPE HEA HEB UPN L SHS; do
  cmp -s "$lib/prof/$t.pr" "$work/prof/$t.pr"
  check "committed library/prof/$t.pr is what the converter makes" 0 $?
done
printf 'name\th_mm\tb_mm\textra\nX 10\t10\t\tv\\w\nX 20\t20\t5\t\n' > "$work/x.tsv"
"$prog" prof import "$work/x.tsv" "$work/X.pr" --type 1
check "prof import exit" 0 $?
out=$("$prog" prof show "$work/X.pr" | head -n 3)
check "prof show type and first columns" "$(printf 'type\t1\ncolumn\t0\tSysName\ncolumn\t1\tActive')" "$out"
out=$("$prog" prof show "$work/X.pr" | grep -v '^column')
check "prof show rows and active names" \
  "$(printf 'type\t1\nrow\t0\t10\t1\tX 10\tX 10\tX 10\t10\t0\t0\t0\t0\t0\t0\t0\t0\tv\\\\w\nrow\t1\t20\t1\tX 20\tX 20\tX 20\t20\t5\t0\t0\t0\t0\t0\t0\t0\t0\nactive\tX-10\nactive\tX-20')" "$out"
out=$(KESTRA_SS_LIBDIR="$lib" "$prog" prof show HEA | grep -c '^active')
check "prof show of a library table lists its 24 sizes" 24 "$out"
KESTRA_SS_LIBDIR="$lib" "$prog" prof show NOSUCH > /dev/null 2> "$work/err.txt"
check "prof show of a missing table exit" 1 $?
grep -q '^kestra-ss prof: ' "$work/err.txt"
check "prof show of a missing table message" 0 $?
"$prog" prof import "$work/x.tsv" "$work/Y.pr" --type 25 > /dev/null 2>&1
check "prof import with a type outside 1 to 24 exit" 2 $?
"$prog" prof show > /dev/null 2>&1
check "prof show without a name exit" 2 $?

# The committed section pictures are exactly what their generator draws.
if command -v python3 > /dev/null; then
  root=$(cd "$(dirname "$0")/../../.." && pwd)
  python3 "$root/tools/make_section_pictures.py" "$work/icons" --user-sections "$work/user" > /dev/null
  check "section pictures drawn" 0 $?
  for f in "$work/icons"/*.bmp; do
    cmp -s "$f" "$root/resources/icons/$(basename "$f")"
    check "committed resources/icons/$(basename "$f") is what the generator draws" 0 $?
  done
  for f in "$work/user"/*.bmp; do
    cmp -s "$f" "$root/library/User Sections/$(basename "$f")"
    check "committed library/User Sections/$(basename "$f") is what the generator draws" 0 $?
  done
else
  echo "NOTE: python3 is missing: the section pictures are not compared with their generator"
fi

# sheet export to .xlsx (the extension chooses), read back with openpyxl: formulas with their
# results, a formula the format lacks written as its value and named on standard error, and the
# sample frame's bills with the header row frozen, joined picture rows and every picture.
if /usr/bin/python3 -c 'import openpyxl' 2> /dev/null; then
  readxlsx="$(cd "$(dirname "$0")/../../xlsx/tests" && pwd)/read_xlsx.py"
  printf '1\t1\t4\n1\t2\t=A1*2\n2\t1\t=NOSUCH(A1)\n' > "$work/f.txt"
  "$prog" sheet import "$work/f.txt" "$work/f.kxs"
  "$prog" sheet export "$work/f.kxs" "$work/f.xlsx" 2> "$work/err.txt"
  check "sheet export xlsx exit" 0 $?
  check "sheet export xlsx names what cannot travel" \
    "kestra-ss sheet export: 1 cell written as the last value, their formulas use what an .xlsx file lacks: A2 (NOSUCH)" \
    "$(head -1 "$work/err.txt")"
  # The default print settings: the frame around the printed cells has no place in the file.
  check "sheet export xlsx names the print settings left out" \
    "kestra-ss sheet export: print settings an .xlsx file cannot hold, left out: border around the cells" \
    "$(sed -n 2p "$work/err.txt")"
  check "sheet export xlsx print headings and grid lines" "grid=1 headings=1" \
    "$(/usr/bin/python3 "$readxlsx" "$work/f.xlsx" | grep '^page setup ' | grep -o 'grid=1 headings=1')"
  out=$(/usr/bin/python3 "$readxlsx" "$work/f.xlsx")
  check "sheet export xlsx formula" "cell B1 t=f v='=A1*2' cached=8 nf=General lock=0" "$(printf '%s\n' "$out" | grep '^cell B1 ')"
  check "sheet export xlsx last value" "cell A2 t=s v='#NAME?' nf=General lock=0" "$(printf '%s\n' "$out" | grep '^cell A2 ')"
  # A FROMTABLE result the module computed and saved travels as that value (nothing recalculates
  # it here), and a formula over it keeps the saved result; R1C1 texts become A1.
  printf 'KXSHEET 1\nsize cols=3 rows=1\nrefstyle 2\ncell 1 1 d="5"\ncell 2 1 d="42.5" f="FROMTABLE(\\"t\\",RC[-1])"\ncell 3 1 d="43.5" f="RC[-1]+1"\nend\n' > "$work/ft.kxs"
  "$prog" sheet export "$work/ft.kxs" "$work/ft.xlsx" 2> "$work/err.txt"
  check "sheet export xlsx FROMTABLE exit" 0 $?
  grep -q 'B1 (FROMTABLE)$' "$work/err.txt"
  check "sheet export xlsx FROMTABLE named" 0 $?
  out=$(/usr/bin/python3 "$readxlsx" "$work/ft.xlsx")
  check "sheet export xlsx FROMTABLE value" "cell B1 t=n v=42.5 nf=General lock=0" "$(printf '%s\n' "$out" | grep '^cell B1 ')"
  check "sheet export xlsx R1C1 formula" "cell C1 t=f v='=B1+1' cached=43.5 nf=General lock=0" "$(printf '%s\n' "$out" | grep '^cell C1 ')"
  "$prog" sheet export "$work/frame.sss" "$work/frame.xlsx"
  check "sheet export bill exit" 0 $?
  out=$(/usr/bin/python3 "$readxlsx" "$work/frame.xlsx")
  check "sheet export bill frozen header" "sheet Sheet1 freeze=A2 protected=0" "$(printf '%s\n' "$out" | head -1)"
  printf '%s\n' "$out" | grep -q "^cell C1 t=s v='Profile'"
  check "sheet export bill header text" 0 $?
  printf '%s\n' "$out" | grep -q "^cell H[0-9]* t=n v=506.2 "
  check "sheet export bill total weight" 0 $?
  "$prog" sheet export "$work/big.sss" "$work/big.XLSX"
  check "sheet export bill with pictures exit" 0 $?
  out=$(/usr/bin/python3 "$readxlsx" "$work/big.XLSX")
  check "sheet export bill pictures (symbol and part on 250 lines)" 500 "$(printf '%s\n' "$out" | grep -c '^image ')"
  check "sheet export bill joined picture rows" 250 "$(printf '%s\n' "$out" | grep -c '^merged B[0-9]*:I[0-9]*$')"
  "$prog" sheet export "$work/f.kxs" "$work/no such folder/f.xlsx" 2> "$work/err.txt"
  check "sheet export xlsx into a missing folder exit" 1 $?
  grep -q 'cannot write ".*no such folder/f.xlsx"' "$work/err.txt"
  check "sheet export xlsx into a missing folder message" 0 $?
else
  echo "NOTE: python3-openpyxl is missing: the .xlsx export is not read back"
fi

[ "$failures" -eq 0 ]
