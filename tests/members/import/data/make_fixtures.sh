#!/usr/bin/env bash
# Writes the workbook and text fixtures of the import tests from their
# sources in sources/: the .fods workbooks through LibreOffice (Debian's
# libreoffice-calc-nogui) as .xls and .xlsx, the text files through iconv.
# Run by hand when a source changes; the build and the tests use the
# written files only.
set -euo pipefail
cd "$(dirname "$0")"
for source in sources/*.fods; do
  for kind in xls xlsx; do
    soffice --headless --convert-to "$kind" --outdir . "$source" >/dev/null
  done
done
# "Unicode text" as spreadsheet programs save it: UTF-16 with a byte-order
# mark, tab-separated.
iconv -f UTF-8 -t UTF-16 sources/unicode.txt >unicode.csv
# Big5 with Hong Kong characters that code page 950 has no character for.
iconv -f UTF-8 -t BIG5-HKSCS sources/hkscs.csv >hkscs.csv
iconv -f UTF-8 -t BIG5 sources/big5.csv >big5.csv
