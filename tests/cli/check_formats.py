"""Checks pinsum's JSON and CSV outputs against their documented forms and against the text report.

Usage:
  check_formats.py report TEXT JSON    the JSON holds what the text report says, in the documented form
  check_formats.py bill CSV JSON       the bill's lines and totals agree with the JSON's prices
"""
import csv
import io
import json
import re
import sys
from decimal import Decimal

PRICE = re.compile(r"^\d+\.\d{2,4}$")
FORMULA_STARTS = ("=", "+", "-", "@", "\t", "\r")
POINT_KEYS = ["kind", "count"]
POSITION_KEYS = ["position", "marking", "name", "points", "assigned"]
EQUIPMENT_KEYS = ["device", "marking", "label", "price", "configuration"]
SOLUTION_KEYS = ["number", "price", "used_io", "unused_io", "complete", "proven_cheapest",
                 "equipment", "missing"]


def expect(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def check_keys(obj, keys, where):
    expect(isinstance(obj, dict) and list(obj) == keys, f"{where}: keys {list(obj)} not {keys}")


def check_points(points, where):
    expect(isinstance(points, list), f"{where}: not a list")
    for point in points:
        check_keys(point, POINT_KEYS, where)
        expect(isinstance(point["kind"], str) and type(point["count"]) is int and point["count"] > 0,
               f"{where}: bad point {point}")


def check_form(doc):
    check_keys(doc, ["format", "version", "message", "solutions"], "document")
    expect(doc["format"] == "pinsum-solutions" and doc["version"] == 1, "format or version")
    expect(doc["message"] is None or isinstance(doc["message"], str), "message")
    for s in doc["solutions"]:
        check_keys(s, SOLUTION_KEYS, "solution")
        expect(PRICE.match(s["price"]), f"solution price {s['price']}")
        expect(isinstance(s["complete"], bool), "complete")
        expect(isinstance(s["proven_cheapest"], bool), "proven_cheapest")
        expect(s["complete"] == (not s["missing"]), "complete but points missing")
        check_points(s["missing"], "missing")
        equipment_total = Decimal(0)
        for e in s["equipment"]:
            check_keys(e, EQUIPMENT_KEYS, "equipment")
            expect(PRICE.match(e["price"]), f"equipment price {e['price']}")
            equipment_total += Decimal(e["price"])
            expect(e["label"] == e["device"] + "".join(p["marking"] for p in e["configuration"]),
                   f"label {e['label']} is not the device and its modules")
            for p in e["configuration"]:
                check_keys(p, POSITION_KEYS, "position")
                check_points(p["points"], "points")
                check_points(p["assigned"], "assigned")
        expect(equipment_total == Decimal(s["price"]), "equipment prices do not add up")


def report_from_json(doc):
    """The text report's lines as the JSON gives them; positions without placed points show no
    lines, and the report's whole-unit price is checked separately."""
    lines = []
    for s in doc["solutions"]:
        lines.append(f"Řešení: {s['number']}, Cena: *, Použité IO {s['used_io']},  "
                     f"Nepoužité IO {s['unused_io']}")
        for e in s["equipment"]:
            lines.append("\t" + e["label"])
            for p in e["configuration"]:
                if p["assigned"]:
                    lines.append("\t\tModul " + p["marking"])
                    lines += [f"\t\t\t{a['count']} x {a['kind']}" for a in p["assigned"]]
    return lines


def check_report(text_path, json_path):
    with open(json_path, encoding="utf-8") as f:
        doc = json.load(f)
    check_form(doc)
    with open(text_path, encoding="utf-8") as f:
        text = f.read().split("\n")
    start = next(i for i, line in enumerate(text) if line.startswith("Řešení: ")) if doc[
        "solutions"] else len(text) - 1
    if doc["message"] is not None:
        expect(text[:start] == doc["message"].split("\n"), "message differs from the report's")
    body = [line for line in text[start:] if line and not re.fullmatch(r"\t\tModul \S*", line)]
    expected = [line for line in report_from_json(doc) if not line.startswith("\t\tModul ")]
    shown = [re.sub(r"Cena: \d+,", "Cena: *,", line) for line in body]
    expect(shown == expected, "report and JSON differ:\n" + "\n".join(
        f"{a!r} | {b!r}" for a, b in zip(shown, expected) if a != b))
    prices = [int(m) for m in re.findall(r"^Řešení: \d+, Cena: (\d+),", "\n".join(text), re.M)]
    for price, s in zip(prices, doc["solutions"]):
        # The report adds whole units of each device and configuration; the JSON is exact.
        expect(0 <= Decimal(s["price"]) - price < 2 * len(s["equipment"]),
               f"report price {price} and exact price {s['price']} do not match")


def cell_text(cell):
    """A cell as a spreadsheet reads it: one that would start a formula is written as a formula of
    its text alone, ="...", and nothing else may start with a formula character."""
    if cell.startswith('="') and cell.endswith('"'):
        inner = cell[2:-1]
        expect(re.fullmatch(r'([^"]|"")*', inner), f"cell {cell!r} is more than a text")
        text = inner.replace('""', '"')
        expect(text[:1] in FORMULA_STARTS, f"cell {cell!r} did not need the formula form")
        return text
    expect(cell[:1] not in FORMULA_STARTS, f"cell {cell!r} starts a formula")
    return cell


def check_bill(csv_path, json_path):
    with open(json_path, encoding="utf-8") as f:
        prices = {s["number"]: Decimal(s["price"]) for s in json.load(f)["solutions"]}
    with open(csv_path, encoding="utf-8", newline="") as f:
        raw = f.read()
    expect(raw.endswith("\r\n") and "\n" not in raw.replace("\r\n", ""), "lines do not end in CRLF")
    rows = [[cell_text(cell) for cell in row]
            for row in csv.reader(io.StringIO(raw, newline=""), strict=True)]
    expect(rows[0] == ["solution", "item", "marking", "name", "quantity", "unit_price",
                       "line_price"], f"header {rows[0]}")
    sums, totals, seen = {}, {}, set()
    for row in rows[1:]:
        expect(len(row) == 7, f"row {row} has {len(row)} fields")
        number = int(row[0])
        if row[1] == "total":
            totals[number] = Decimal(row[6])
            continue
        expect(row[1] in ("device", "module"), f"item {row[1]}")
        expect((number, row[1], row[2], row[3]) not in seen, f"{row} is not summed per item")
        seen.add((number, row[1], row[2], row[3]))
        expect(Decimal(row[4]) * Decimal(row[5]) == Decimal(row[6]), f"line price of {row}")
        sums[number] = sums.get(number, Decimal(0)) + Decimal(row[6])
    expect(sums == totals, f"lines {sums} do not add up to the totals {totals}")
    expect(all(totals[n] == prices[n] for n in totals), f"totals {totals} are not prices {prices}")
    print("\n".join(f"{n} {'|'.join(r[3] for r in rows[1:] if r[0] == str(n))}" for n in totals))


if __name__ == "__main__":
    {"report": check_report, "bill": check_bill}[sys.argv[1]](sys.argv[2], sys.argv[3])
