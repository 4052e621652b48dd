#!/usr/bin/python3
"""Writes the sample signal list data/signal-list.csv (UTF-8, semicolons, as a Czech spreadsheet
saves it) and the same list as data/signal-list.xlsx, with Debian's python3-openpyxl.
Usage: make_signal_list.py DATA_DIR"""
import csv
import datetime
import sys

import openpyxl

HEADER = ["Značka", "Popis", "Typ signálu", "Umístění"]


def rows():
    """The signals of the sample machine: 40 digital inputs, 24 transistor outputs, 8 current
    inputs and an RS-485 port, with section rows and spares between them."""
    yield ["Rozvaděč RM1 – vstupy", "", "", ""]
    sensors = ["Koncový spínač", "Indukční čidlo", "Tlačítko", "Tlakový spínač", "Hladinový spínač"]
    for i in range(40):
        yield [f"-B{101 + i}", f"{sensors[i % len(sensors)]} {i // len(sensors) + 1}", "DI",
               f"RM1/X1:{i + 1}"]
    yield ["-B199", "Rezerva", "Rezerva", "RM1/X1:41"]
    yield ["Rozvaděč RM1 – výstupy", "", "", ""]
    actuators = ["Ventil", "Stykač motoru", "Signálka", "Houkačka"]
    for i in range(24):
        yield [f"-Y{201 + i}", f"{actuators[i % len(actuators)]} {i // len(actuators) + 1}", "DO",
               f"RM1/X2:{i + 1}"]
    yield ["-Y299", "Rezerva", "Rezerva", "RM1/X2:25"]
    yield ["Měření", "", "", ""]
    for i in range(8):
        yield [f"-P{301 + i}", f"Snímač tlaku {i + 1} (4–20 mA)", "AI 4-20mA", f"RM1/X3:{i + 1}"]
    yield ["-A401", "Komunikace s frekvenčním měničem", "RS485", "RM1/X4"]


def main():
    data = sys.argv[1]
    listed = list(rows())
    with open(f"{data}/signal-list.csv", "w", encoding="utf-8", newline="") as out:
        writer = csv.writer(out, delimiter=";", lineterminator="\r\n")
        writer.writerow(["Seznam signálů – lis L2", "", "", ""])
        writer.writerow([])
        writer.writerow(HEADER)
        writer.writerows(listed)

    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Signály"
    sheet.append(["Seznam signálů – lis L2"])
    sheet.append([])
    sheet.append(HEADER)
    for row in listed:
        sheet.append([cell if cell != "" else None for cell in row])
    for column, width in zip("ABCD", (24, 36, 14, 12)):
        sheet.column_dimensions[column].width = width
    notes = book.create_sheet("Revize")
    notes.append(["Revize", "Datum", "Změna"])
    notes.append([1, "2026-03-02", "První vydání"])
    # A fixed date, so that the file says the same each time it is written.
    book.properties.created = book.properties.modified = datetime.datetime(2026, 3, 2)
    book.save(f"{data}/signal-list.xlsx")


if __name__ == "__main__":
    main()
