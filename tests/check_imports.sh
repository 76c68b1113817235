#!/bin/sh
# Whether a module imports those DLLs and, when given, exports those names:
# each list sorted and joined by commas.
objdump=$1
file=$2
imports=$($objdump -p "$file" | sed -n 's/^.*DLL Name: //p' | tr A-Z a-z | sort | paste -sd, -)
[ "$imports" = "$3" ] || { echo "$file imports $imports"; exit 1; }
[ $# -lt 4 ] && exit 0
# Each exported name ends a line of the name table, whose layout differs between objdump's versions.
exports=$($objdump -p "$file" | awk '/^[[:space:]]*\[ *[0-9]+\]/ && $NF ~ /^[A-Za-z_][A-Za-z0-9_]*$/ && $(NF-1) != "Export" { print $NF }' | sort | paste -sd, -)
[ "$exports" = "$4" ] || { echo "$file exports $exports"; exit 1; }
