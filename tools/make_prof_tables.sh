#!/usr/bin/env bash
# Makes the sample profile tables library/prof/*.pr from the section lists in library/sections with
# `kestra-ss prof import`, so that every value in them is one of the lists' real values (0 where a
# section type has a column the list does not give). The command-line test checks that the
# committed tables are exactly what this makes.
#
# Usage: tools/make_prof_tables.sh PATH/TO/kestra-ss [OUTPUT-FOLDER]   (default: library/prof)
set -eu
prog=$1
root=$(cd "$(dirname "$0")/.." && pwd)
out=${2:-$root/library/prof}
mkdir -p "$out"
# table  section type (library/prof/sections.cat): 1 I and H, 3 angle, 4 channel, 10 rectangular tube
for entry in IPE:1 HEA:1 HEB:1 UPN:4 L:3 SHS:10; do
  name=${entry%%:*}
  type=${entry##*:}
  KESTRA_SS_LIBDIR="$root/library" "$prog" prof import "$root/library/sections/$name.tsv" "$out/$name.pr" --type "$type"
done
