#!/usr/bin/env bash
# How fast the signal list reader is, and how much memory it takes: writes a list of ROWS rows
# (default 100,000) as CSV and as XLSX (with Debian's openpyxl) and reads each with
# `pinsum request from-signals` under /usr/bin/time, printing rows per second and the peak
# resident size. Use a Release build.
# Usage: signal_list_bench.sh PINSUM_BINARY CATALOGUE [ROWS]
set -euo pipefail
pinsum=$1 catalogue=$2 rows=${3:-100000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

/usr/bin/python3 - "$tmp" "$rows" <<'PYTHON'
import sys
import openpyxl
tmp, rows = sys.argv[1], int(sys.argv[2])
# The sample catalogue's ordinary kinds, so that none gets more signals than a request takes.
types = ["DI 24V DC", "DI 230V AC", "Čítač", "DO tranzistor", "DO relé", "AI 0-10V", "AI 4-20mA",
         "AO 0-10V", "Teplota Pt100", "Teplota termočlánek", "Port RS-485", "Port CAN"]
header = ["Značka", "Popis", "Typ signálu", "Umístění", "Poznámka"]
def row(i):
    return [f"-B{i}", f"Signál číslo {i} v rozvaděči", types[i % len(types)],
            f"RM{i % 12}/X{i % 40}:{i % 64}", "" if i % 3 else "kontrolováno"]
with open(f"{tmp}/list.csv", "w", encoding="utf-8") as out:
    out.write(";".join(header) + "\r\n")
    for i in range(1, rows):
        out.write(";".join(row(i)) + "\r\n")
book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("Signály")
sheet.append(header)
for i in range(1, rows):
    sheet.append(row(i))
book.save(f"{tmp}/list.xlsx")
PYTHON

for list in list.csv list.xlsx; do
    /usr/bin/time -f '%e %M' -o "$tmp/time" "$pinsum" request from-signals "$tmp/$list" \
        --catalogue "$catalogue" >/dev/null
    read -r seconds kilobytes <"$tmp/time"
    echo "$list: $rows rows, $(stat -c %s "$tmp/$list") bytes: ${seconds} s," \
        "$(python3 -c "print(round($rows / max($seconds, 0.01)))") rows/s, peak $((kilobytes / 1024)) MB"
done
