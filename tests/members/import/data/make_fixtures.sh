#!/usr/bin/env bash
# Writes the workbook and text fixtures of the import tests from their
# sources in sources/: the .fods workbooks through LibreOffice (Debian's
# libreoffice-calc-nogui) as .xls and .xlsx, the text files through iconv.
# The Minguo-date workbook also goes through Gnumeric (Debian's gnumeric,
# its ssconvert), and make_script_workbooks.py and .js write what scripts
# write (Debian's python3-openpyxl; the npm packages exceljs and xlsx,
# installed into a temporary folder). Run by hand when a source changes;
# the build and the tests use the written files only.
set -euo pipefail
cd "$(dirname "$0")"
for source in sources/*.fods; do
  for kind in xls xlsx; do
    soffice --headless --convert-to "$kind" --outdir . "$source" >/dev/null
  done
done
# The monthly lists of the matching imports: LibreOffice reads the .csv
# sources with every column as text but I (the birthday), then saves .xlsx.
columns=$(for c in $(seq 1 21); do [ "$c" = 9 ] && printf '%s/1/' "$c" || printf '%s/2/' "$c"; done)
for source in sources/first_import.csv sources/second_import.csv; do
  soffice --headless --infilter="CSV:44,34,76,1,${columns%/}" --convert-to xlsx --outdir . \
    "$source" >/dev/null
done
# Gnumeric's own .xls of the same sheet.
ssconvert --export-type=Gnumeric_Excel:excel_biff8 minguo.xlsx minguo_gnumeric.xls 2>/dev/null
/usr/bin/python3 make_script_workbooks.py .
node_modules="$(mktemp -d)"
trap 'rm -rf "$node_modules"' EXIT
npm install --silent --no-save --prefix "$node_modules" exceljs xlsx >/dev/null
NODE_PATH="$node_modules/node_modules" node make_script_workbooks.js .
# "Unicode text" as spreadsheet programs save it: UTF-16 with a byte-order
# mark, tab-separated.
iconv -f UTF-8 -t UTF-16 sources/unicode.txt >unicode.csv
# Big5 with Hong Kong characters that code page 950 has no character for.
iconv -f UTF-8 -t BIG5-HKSCS sources/hkscs.csv >hkscs.csv
iconv -f UTF-8 -t BIG5 sources/big5.csv >big5.csv
