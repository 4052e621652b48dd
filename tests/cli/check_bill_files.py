#!/usr/bin/python3
"""Reads an XLSX bill back with openpyxl, or the text pdftotext extracted from a PDF quotation,
and compares it with the JSON of the same solutions and the request they answer. Prints nothing
and exits 0 when they agree; otherwise says where they differ.
Usage: check_bill_files.py xlsx BILL.xlsx SOLUTIONS.json REQUEST.json
       check_bill_files.py pdf QUOTATION.txt SOLUTIONS.json REQUEST.json"""
import collections
import decimal
import json
import sys

import openpyxl


def fail(message):
    sys.exit(message)


def requested(path):
    return [(kind, count) for kind, count in json.load(open(path, encoding="utf-8"))["counts"].items()
            if count]


def bill_lines(solution):
    """The devices and modules of a solution with their quantities, summed as the bill sums them,
    from the JSON's equipment and its unit prices (the device's price less its modules')."""
    lines = collections.OrderedDict()
    for equipment in solution["equipment"]:
        yield_device = ("zařízení", equipment["marking"], equipment["device"])
        lines[yield_device] = lines.get(yield_device, 0) + 1
        for position in equipment["configuration"]:
            key = ("modul", position["marking"], position["name"])
            lines[key] = lines.get(key, 0) + 1
    return lines


def check_xlsx(path, solutions, request):
    book = openpyxl.load_workbook(path)
    expected_names = ["Požadavek"] + [f"Řešení {s['number']}" for s in solutions]
    if book.sheetnames != expected_names:
        fail(f"sheets {book.sheetnames}, expected {expected_names}")
    rows = list(book["Požadavek"].iter_rows(values_only=True))
    if rows != [("Typ IO", "Požadováno", "Rezerva")] + [(k, c, 0) for k, c in request]:
        fail(f"request sheet {rows}")
    for solution in solutions:
        sheet = book[f"Řešení {solution['number']}"]
        for row in sheet.iter_rows():
            for cell in row:
                if isinstance(cell.value, str) and cell.data_type != "s":
                    fail(f"{sheet.title}!{cell.coordinate} is no string cell: {cell.data_type}")
                if cell.data_type == "f":
                    fail(f"{sheet.title}!{cell.coordinate} holds a formula")
        rows = list(sheet.iter_rows(values_only=True))
        header, lines, total = rows[0], rows[1:-1], rows[-1]
        if header != ("Položka", "Značení", "Název", "Množství", "Jednotková cena", "Cena"):
            fail(f"{sheet.title}: header {header}")
        expected = bill_lines(solution)
        # An empty text is an empty cell.
        got = collections.OrderedDict(((item, marking or "", name or ""), quantity)
                                      for item, marking, name, quantity, _, _ in lines)
        if got != expected:
            fail(f"{sheet.title}: lines {list(got.items())}, expected {list(expected.items())}")
        line_sum = decimal.Decimal(0)
        for item, marking, name, quantity, unit, price in lines:
            if not all(isinstance(v, (int, float)) for v in (quantity, unit, price)):
                fail(f"{sheet.title}: {name}: quantity and prices are no numbers")
            if round(decimal.Decimal(unit) * quantity, 4) != round(decimal.Decimal(price), 4):
                fail(f"{sheet.title}: {name}: {quantity} x {unit} is not {price}")
            line_sum += decimal.Decimal(str(price))
        if total[0] != "Celkem" or total[1:5] != (None,) * 4:
            fail(f"{sheet.title}: total row {total}")
        if round(decimal.Decimal(str(total[5])), 4) != decimal.Decimal(solution["price"]):
            fail(f"{sheet.title}: total {total[5]}, JSON price {solution['price']}")
        if round(line_sum, 4) != decimal.Decimal(solution["price"]):
            fail(f"{sheet.title}: lines sum to {line_sum}, JSON price {solution['price']}")


def czech(price):
    """The JSON's price as the quotation writes it, "37 751,50", its no-break space as pdftotext
    gives it back: a space."""
    whole, fraction = price.split(".")
    return f"{int(whole):,},{fraction}".replace(",", " ", f"{int(whole):,}".count(","))


def words(line):
    return line.replace("\u00a0", " ").split()


def check_pdf(path, solutions, request):
    lines = [words(line) for line in open(path, encoding="utf-8").read().splitlines()]
    lines = [line for line in lines if line]
    text = [" ".join(line) for line in lines]
    if text[0] != "Nabídka" or not text[1].startswith("Datum: ") or text[2] != "Katalog: Vzorový katalog":
        fail(f"title lines {text[:3]}")
    at = text.index("Požadované IO")
    for offset, (kind, count) in enumerate(request, 2):
        if text[at + offset] != f"{kind} {count} 0":
            fail(f"request line {text[at + offset]!r}, expected {kind} {count} 0")
    for solution in solutions:
        heading = f"Řešení {solution['number']}"
        starts = [i for i, line in enumerate(text) if line == heading or line.startswith(heading + " –")]
        if len(starts) != 1:
            fail(f"{heading}: {len(starts)} headings")
        i = starts[0] + 2

        def next_line(i):
            """Past the page footers and the table headers that a page break puts between."""
            while text[i].startswith("Položka ") or text[i].startswith("Strana "):
                i += 1
            return i

        for equipment in solution["equipment"]:
            modules = collections.OrderedDict()
            for position in equipment["configuration"]:
                key = (position["name"], position["marking"])
                modules[key] = modules.get(key, 0) + 1
            expected = [f"{equipment['device']} {equipment['marking']} 1"]
            expected += [f"{name} {marking} {count}" for (name, marking), count in modules.items()]
            for line in expected:
                i = next_line(i)
                if not text[i].startswith(line + " "):
                    fail(f"{heading}: line {text[i]!r}, expected {line!r} and prices")
                i += 1
        total = czech(solution["price"])
        i = next_line(i)
        if text[i] != f"Celkem {total}":
            fail(f"{heading}: {text[i]!r}, expected the total {total}")
        io = f"Použité IO: {solution['used_io']}, Nepoužité IO: {solution['unused_io']}"
        i = next_line(i + 1)
        if text[i] != io:
            fail(f"{heading}: {text[i]!r}, expected {io!r}")


def main():
    kind, path, solutions, request = sys.argv[1:5]
    solutions = json.load(open(solutions, encoding="utf-8"))["solutions"]
    request = requested(request)
    (check_xlsx if kind == "xlsx" else check_pdf)(path, solutions, request)


if __name__ == "__main__":
    main()
