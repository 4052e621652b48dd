#!/usr/bin/python3
"""The browser calculator in headless Chromium against the command-line tool.

Usage: browser_test.py SITE_DIR PINSUM CATALOGUE REQUEST SCREENSHOT
The page must give exactly the tool's report, through its automation contract and through its
form, and must stay usable after a cancelled search and a foreign file.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

SITE, PINSUM, CATALOGUE, REQUEST, SCREENSHOT = sys.argv[1:6]
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SERVE = os.path.join(ROOT, "scripts", "web_serve.py")
DATA = os.path.abspath(os.path.join(ROOT, "data"))
SIGNAL_MAP = os.path.join(DATA, "signal-map.json")


def cli_report(request_path):
    run = subprocess.run([PINSUM, "solve", "--catalogue", CATALOGUE, "--request", request_path],
                         capture_output=True, check=False)
    return run.stdout.decode("utf-8")


def solution_block(report, number):
    """The lines of one solution in a report, as its detail view shows them."""
    lines = report.split("\n")
    start = next(i for i, line in enumerate(lines) if line.startswith(f"Řešení: {number},"))
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("Řešení: ")),
               len(lines))
    return "\n".join(lines[start:end]) + "\n"


def cli_request_from_signals(list_path):
    run = subprocess.run([PINSUM, "request", "from-signals", list_path, "--map", SIGNAL_MAP,
                          "--catalogue", CATALOGUE], capture_output=True, check=True)
    return json.loads(run.stdout)


WORKBOOK = ('<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
            'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
            '<sheets><sheet name="IO" sheetId="1" r:id="rId1"/></sheets></workbook>')
RELATIONSHIPS = ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                 '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/'
                 '2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>')
SHEET_START = '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
SHEET_END = '</sheetData></worksheet>'


def inline_row(number, text):
    return (f'<row r="{number}"><c r="A{number}" t="inlineStr"><is><t>{text}</t></is></c>'
            '</row>')


def write_workbook(path, sheet_chunks, workbook=WORKBOOK):
    """A workbook of one sheet "IO", whose XML is written in chunks as they come."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as book:
        book.writestr("xl/workbook.xml", workbook)
        book.writestr("xl/_rels/workbook.xml.rels", RELATIONSHIPS)
        with book.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as sheet:
            for chunk in sheet_chunks:
                sheet.write(chunk.encode("utf-8"))


def declare_size(path, part, size):
    """Makes the zip's headers say that the part inflates to size bytes, whatever it holds."""
    with open(path, "rb") as file:
        data = bytearray(file.read())
    name = part.encode("utf-8")
    at = data.find(b"PK\x01\x02")
    while at >= 0:
        name_length = struct.unpack_from("<H", data, at + 28)[0]
        if bytes(data[at + 46:at + 46 + name_length]) == name:
            struct.pack_into("<I", data, at + 24, size)
            local = struct.unpack_from("<I", data, at + 42)[0]
            struct.pack_into("<I", data, local + 22, size)
        at = data.find(b"PK\x01\x02", at + 4)
    with open(path, "wb") as file:
        file.write(data)


class BrowserCalculator(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The page's folder with the sample's files beside it, served as `make web-serve` does.
        cls.folder = tempfile.TemporaryDirectory()
        for name in os.listdir(SITE):
            if not name.endswith((".pp", ".json")):
                os.symlink(os.path.join(os.path.abspath(SITE), name),
                           os.path.join(cls.folder.name, name))
        os.symlink(os.path.abspath(CATALOGUE), os.path.join(cls.folder.name, "iodb.pp"))
        os.symlink(os.path.abspath(REQUEST), os.path.join(cls.folder.name, "request.json"))
        cls.server = subprocess.Popen([sys.executable, SERVE, cls.folder.name, "0"],
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        cls.base = f"http://127.0.0.1:{cls.server.stdout.readline().split()[1]}/"
        options = webdriver.ChromeOptions()
        for argument in ("--headless=new", "--no-sandbox", "--window-size=1280,900",
                         "--disable-gpu", "--disable-dev-shm-usage"):
            options.add_argument(argument)
        cls.browser = webdriver.Chrome(options=options)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.server.terminate()
        cls.server.wait()
        cls.folder.cleanup()

    def open(self, query=""):
        self.browser.get(self.base + "index.html" + query)
        return self.wait_state(("ready", "done", "error"))

    def wait_state(self, states, seconds=120):
        body = self.browser.find_element(By.TAG_NAME, "body")
        WebDriverWait(self.browser, seconds).until(
            lambda _: body.get_attribute("data-state") in states)
        return body.get_attribute("data-state")

    def type_count(self, index, text):
        # A changed count redraws the trees, so the field is looked up anew each time.
        field = self.browser.find_elements(By.CSS_SELECTOR, "#io-tree input")[index]
        field.clear()
        field.send_keys(text + "\n")

    def report(self):
        return self.browser.execute_script("return document.getElementById('report').textContent")

    def test_automation_gives_the_tools_report_and_refuses_foreign_files(self):
        # The page is "ready" for a moment before the search starts.
        self.open("?catalogue=iodb.pp&request=request.json&autorun=1")
        self.assertEqual(self.wait_state(("done", "error")), "done")
        self.assertEqual(self.report(), cli_report(REQUEST))
        print(f"sample search in the browser: "
              f"{self.browser.find_element(By.TAG_NAME, 'body').get_attribute('data-search-ms')} ms",
              file=sys.stderr)

        # A request file given as the catalogue: an error in Czech, not an empty calculator.
        self.assertEqual(self.open("?catalogue=request.json&request=request.json&autorun=1"),
                         "error")
        self.assertTrue(self.report().startswith("Soubor nelze načíst:\n"), self.report())

    def test_a_request_given_by_url_fills_the_form(self):
        self.assertEqual(self.open("?catalogue=iodb.pp&request=request.json"), "ready")
        with open(REQUEST, encoding="utf-8") as file:
            asked = json.load(file)
        fields = self.browser.find_elements(By.CSS_SELECTOR, ".tree input[type=text]")
        shown = {field.get_attribute("aria-label"): int(field.get_property("value"))
                 for field in fields if field.get_property("value") != "0"}
        self.assertEqual(shown, asked["counts"])
        self.assertEqual(self.browser.find_element(By.ID, "level").get_property("value"),
                         str(asked["level"]))
        # What the form now asks for is searched exactly as the file is.
        request = json.loads(self.browser.execute_script(
            "return state.calc.request(Number(document.getElementById('level').value))"))
        self.assertEqual(request["terminals_enabled"], asked["terminals_enabled"])
        self.assertEqual(request["series"], asked["series"])
        with tempfile.NamedTemporaryFile("w", suffix=".json", encoding="utf-8") as file:
            json.dump(request, file, ensure_ascii=False)
            file.flush()
            self.assertEqual(cli_report(file.name), cli_report(REQUEST))

    def test_form_search_matches_the_tool_and_browses_solutions(self):
        self.assertEqual(self.open(), "ready")
        # The sample's series: "Řada TX" offered by default, "Řada MK" and "Řada RV" exclusive.
        def series_box(number):
            return self.browser.find_element(
                By.CSS_SELECTOR, f"#series-tree > li:nth-child({number}) > label input")

        def devices(number):
            return self.browser.find_elements(
                By.CSS_SELECTOR, f"#series-tree > li:nth-child({number}) ul input")

        series_box(2).click()
        series_box(3).click()
        self.assertFalse(series_box(2).is_selected(), "an exclusive series unchecks the other")
        self.assertTrue(all(box.is_selected() for box in devices(3)), "a series checks its devices")
        series_box(1).click()
        self.assertFalse(any(box.is_selected() for box in devices(1)))
        devices(2)[0].click()
        self.assertTrue(series_box(2).is_selected(), "a device checks its series")
        self.assertFalse(series_box(3).is_selected())
        series_box(2).click()
        series_box(2).click()
        for index, count in ((0, "40"), (3, "24")):
            self.type_count(index, count)
        request = json.loads(self.browser.execute_script(
            "return state.calc.request(Number(document.getElementById('level').value))"))
        self.browser.find_element(By.ID, "run").click()
        self.assertEqual(self.wait_state(("done", "error")), "done", self.report())

        with tempfile.NamedTemporaryFile("w", suffix=".json", encoding="utf-8") as file:
            json.dump(request, file, ensure_ascii=False)
            file.flush()
            expected = cli_report(file.name)
        self.assertEqual(self.report(), expected)
        self.assertEqual(sorted(request["counts"].values()), [24, 40])

        self.browser.find_element(By.ID, "next").click()
        caption = self.browser.find_element(By.ID, "caption").text
        self.assertRegex(caption, r"^Řešení 2 z \d+$")
        details = self.browser.execute_script("return selectedText()")
        self.assertEqual(details, solution_block(expected, 2))
        # The README's picture: a device's row selected and every tree scrolled to its top.
        self.browser.find_elements(By.CSS_SELECTOR, "#result-table tbody tr")[1].click()
        self.browser.execute_script(
            "document.querySelectorAll('.tree').forEach((tree) => { tree.scrollTop = 0; })")
        self.browser.save_screenshot(SCREENSHOT)

    def test_terminal_counts_stay_with_the_terminals(self):
        self.assertEqual(self.open(), "ready")
        field = self.browser.find_elements(By.CSS_SELECTOR, "#terminal-tree input[type=text]")[0]
        field.clear()
        field.send_keys("7\n")
        request = json.loads(self.browser.execute_script("return state.calc.request(0)"))
        self.assertEqual(request["counts"], {field.get_attribute("aria-label"): 7},
                         "the terminal's own count, not that of an IO kind")

    def help_record(self):
        WebDriverWait(self.browser, 30).until(lambda _: self.browser.execute_script(
            "return state.help.record !== null && state.help.record.done"))
        return self.browser.execute_script("return state.help.record")

    def test_help_is_laid_out_by_the_engine_with_its_picture(self):
        self.assertEqual(self.open(), "ready")
        device = self.browser.find_element(
            By.XPATH, "//ul[@id='series-tree']//li[label[contains(., 'MK-500')]]")
        device.find_element(By.CSS_SELECTOR, "button.help").click()
        record = self.help_record()
        tip = self.browser.find_element(By.ID, "help-tip")
        self.assertTrue(tip.is_displayed())
        self.assertEqual((tip.size["width"] - 2, tip.size["height"] - 2),
                         (record["width"], record["height"]))
        self.assertGreater(len(record["texts"]), 5)
        # Measured and drawn in one font, every run ends inside the tool-tip.
        for run in record["texts"]:
            self.assertLessEqual(run["inkRight"], record["width"], run)
        self.assertEqual(len(record["pictures"]), 1)
        picture = record["pictures"][0]
        self.assertTrue(picture["drawn"], picture)
        self.assertGreater(picture["width"], 0)
        self.assertLessEqual(picture["right"], record["width"])

        self.browser.find_element(By.TAG_NAME, "body").send_keys(Keys.ESCAPE)
        self.assertFalse(tip.is_displayed())
        # F5 on a focused item with help opens it; on one without it the page stays put.
        kinds = self.browser.find_elements(By.CSS_SELECTOR, "#io-tree > li[data-help] input")
        kinds[0].send_keys(Keys.F5)
        self.assertTrue(tip.is_displayed())
        self.assertEqual(self.browser.execute_script("return state.help.record.pictures.length"),
                         0)

    def test_help_taller_than_the_viewport_pages_inside_it(self):
        self.assertEqual(self.open(), "ready")
        self.addCleanup(self.browser.set_window_size, 1280, 900)
        self.browser.set_window_size(1280, 260)
        device = self.browser.find_element(
            By.XPATH, "//ul[@id='series-tree']//li[label[contains(., 'MK-500')]]")
        self.browser.execute_script("arguments[0].scrollIntoView({block: 'end'})", device)
        device.find_element(By.CSS_SELECTOR, "button.help").click()
        record = self.help_record()
        self.assertGreater(record["lastPage"], 0)
        self.assertTrue(self.browser.execute_script(
            "const r = document.getElementById('help-tip').getBoundingClientRect();"
            "return r.top >= 0 && r.bottom <= innerHeight"), "the arrow bar is reachable")
        self.browser.find_element(By.TAG_NAME, "body").send_keys(Keys.PAGE_DOWN)
        self.assertEqual(self.help_record()["page"], 1)
        # The rightmost arrow button turns back, as on the desktop.
        tip = self.browser.find_element(By.ID, "help-tip")
        ActionChains(self.browser).move_to_element_with_offset(
            tip, tip.size["width"] // 2 - 11, tip.size["height"] // 2 - 11).click().perform()
        self.assertEqual(self.help_record()["page"], 0)

    def test_result_row_help_shows_its_device_with_the_pages_engine(self):
        self.open("?catalogue=iodb.pp&request=request.json&autorun=1")
        self.assertEqual(self.wait_state(("done", "error")), "done")
        rows = self.browser.find_elements(By.CSS_SELECTOR, "#result-table tbody tr")
        self.assertFalse(self.browser.find_element(By.ID, "row-help").is_enabled(),
                         "the total row has no help")
        rows[1].click()
        equipment = self.browser.find_element(By.CSS_SELECTOR, "#result-table tbody tr.selected td")
        # The click gave the table the focus; F5 asks for the selected row's help.
        ActionChains(self.browser).send_keys(Keys.F5).perform()
        row_texts = [run["text"] for run in self.help_record()["texts"]]
        self.assertTrue(self.browser.find_element(By.ID, "help-tip").is_displayed())

        # The row's help begins with its device's help, as the series tree shows it.
        devices = self.browser.find_elements(By.CSS_SELECTOR, "#series-tree ul > li[data-help]")
        device = max((li for li in devices if equipment.text.startswith(li.text.strip("? \n"))),
                     key=lambda li: len(li.text))
        device.find_element(By.CSS_SELECTOR, "button.help").click()
        device_texts = [run["text"] for run in self.help_record()["texts"]]
        shared = min(len(device_texts), 10)
        self.assertGreater(shared, 3)
        self.assertEqual(row_texts[:shared], device_texts[:shared])

        # A row that names no device of the page's catalogue shows nothing.
        self.assertEqual(self.browser.execute_script(
            "return state.help.tip.showEquipment(state.calc, '{\"device\": 99999, "
            "\"modules\": []}', 0, 0, 800, 600, measureText)"), "")

    def form_counts(self):
        fields = self.browser.find_elements(By.CSS_SELECTOR, ".tree input[type=text]")
        return {field.get_attribute("aria-label"): int(field.get_property("value"))
                for field in fields if field.get_property("value") != "0"}

    def message(self):
        WebDriverWait(self.browser, 60).until(lambda _: self.browser.execute_script(
            "return document.getElementById('message-dialog').open"))
        text = self.browser.find_element(By.ID, "message-text").text
        offers_map = self.browser.find_element(By.ID, "signal-map").is_displayed()
        self.browser.execute_script("document.getElementById('message-dialog').close()")
        return text, offers_map

    def test_signal_lists_fill_the_counts_the_tool_gives(self):
        for name in ("signal-list.xlsx", "signal-list.csv"):
            with self.subTest(name):
                self.assertEqual(self.open(), "ready")
                self.browser.find_element(By.ID, "open-signals").send_keys(
                    os.path.join(DATA, name))
                WebDriverWait(self.browser, 60).until(lambda _: self.browser.execute_script(
                    "return document.getElementById('message-dialog').open"))
                if name.endswith(".xlsx"):
                    self.browser.save_screenshot(
                        os.path.join(os.path.dirname(SCREENSHOT), "web-signal-list.png"))
                # Without the map its own types are no IO kinds; the map is offered for them.
                self.browser.find_element(By.ID, "open-signal-map").send_keys(SIGNAL_MAP)
                text, offers_map = self.message()
                self.assertFalse(offers_map, text)
                self.assertIn(f'seznamu signálů "{name}"', text)
                self.assertIn("(signálů: 73)", text)
                self.assertIn("Vynechané řádky bez typu: řádky 4, 46, 72", text)
                self.assertIn("Vynechané řádky podle přiřazení typů: řádky 45, 71", text)
                expected = cli_request_from_signals(os.path.join(DATA, name))
                self.assertEqual(self.form_counts(),
                                 {kind: n for kind, n in expected["counts"].items() if n})
                request = json.loads(self.browser.execute_script("return state.calc.request(0)"))
                self.assertEqual(request["terminals_enabled"], expected["terminals_enabled"])

    def test_unmapped_types_are_listed_with_their_rows_and_hints(self):
        self.assertEqual(self.open(), "ready")
        self.browser.find_element(By.ID, "open-signals").send_keys(
            os.path.join(DATA, "signal-list.xlsx"))
        text, offers_map = self.message()
        self.assertTrue(offers_map)
        self.assertIn("Tyto typy signálů nejsou IO body databáze a nebyly započteny:\n"
                      "'DI': řádky 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 a dalších 30; podobné názvy: "
                      "'DI 24V DC', 'DI 230V AC', 'Displej 4x20'", text)
        self.assertIn("'RS485': řádek 81", text)
        self.assertEqual(self.form_counts(), {"AI 4-20mA": 8})

    def test_a_hostile_list_gives_a_message_and_keeps_the_form(self):
        self.assertEqual(self.open(), "ready")
        self.type_count(0, "7")
        kept = self.form_counts()
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)

        def path(name):
            return os.path.join(folder.name, name)

        write_workbook(path("rows.xlsx"), [SHEET_START, inline_row(1, "Typ")] +
                       ["".join(inline_row(n, "DI") for n in range(start, start + 10000))
                        for start in range(2, 1_000_002, 10000)] + [SHEET_END])
        write_workbook(path("declared.xlsx"), [SHEET_START, inline_row(1, "Typ"), SHEET_END])
        declare_size(path("declared.xlsx"), "xl/worksheets/sheet1.xml", 600 << 20)
        # The workbook says it is small and inflates beyond the 4 MB its part may have.
        write_workbook(path("lying.xlsx"), [SHEET_START, SHEET_END],
                       workbook=WORKBOOK.replace("<sheets>", "<sheets>" + " " * (5 << 20)))
        declare_size(path("lying.xlsx"), "xl/workbook.xml", 1000)
        write_workbook(path("entities.xlsx"), ['<?xml version="1.0"?><!DOCTYPE worksheet '
                                               '[<!ENTITY a "aaaaaaaaaa">]>', SHEET_START,
                                               SHEET_END])
        with open(path("cp1250.csv"), "wb") as file:
            file.write("Typ;Popis\nDI;Čidlo\n".encode("cp1250"))
        with open(path("not-a-zip.xlsx"), "wb") as file:
            file.write(b"PK\x03\x04 and no zip file after all")
        for name, reason in (
                ("rows.xlsx", "sheet 'IO': row 250001: the sheet has more than 250000 rows"),
                ("declared.xlsx", "part 'xl/worksheets/sheet1.xml' is larger than 512 MB"),
                ("lying.xlsx", "part 'xl/workbook.xml' is larger than 4 MB"),
                ("entities.xlsx", "declares a document type"),
                ("cp1250.csv", "row 2, column B: "),
                ("not-a-zip.xlsx", "not an XLSX file, or a damaged one")):
            with self.subTest(name):
                self.browser.find_element(By.ID, "open-signals").send_keys(path(name))
                text, offers_map = self.message()
                self.assertTrue(text.startswith(f"Soubor nelze načíst:\n{name}: "), text)
                self.assertIn(reason, text)
                self.assertFalse(offers_map)
                self.assertEqual(self.form_counts(), kept)

    def test_cancel_keeps_the_page_usable(self):
        self.assertEqual(self.open(), "ready")
        for index in range(len(self.browser.find_elements(By.CSS_SELECTOR, "#io-tree input"))):
            self.type_count(index, "400")
        self.browser.execute_script("document.getElementById('level').value = 6")
        self.browser.find_element(By.ID, "run").click()
        self.assertEqual(self.wait_state(("running", "done")), "running")
        self.browser.find_element(By.ID, "stop").click()
        self.assertIn(self.wait_state(("done", "error"), seconds=30), ("done", "error"))
        self.assertTrue(self.browser.find_element(By.ID, "run").is_enabled())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
