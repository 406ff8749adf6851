"""The Python module against the test server: the example runs, the ledger's
figures come back as numbers, and a refused operation raises TkamError."""
import io
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

import example
from tkam import Ledger, TkamError, carry_forward

LIBRARY, SERVER, ACCOUNT_SET, ADMIN_SERVER, CLOSED_YEAR = sys.argv[1:6]


class LedgerModuleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        out = io.StringIO()
        with redirect_stdout(out):
            example.main(LIBRARY, SERVER, ACCOUNT_SET)
        cls.printed = out.getvalue()

    def test_the_example_prints_the_register_and_its_charges(self):
        self.assertIn("数控车床", self.printed)
        self.assertIn("原值 120000.00", self.printed)
        self.assertIn("2024-03  财政拨款  510101", self.printed)

    def test_queries_give_numbers_and_a_refusal_gives_its_reason(self):
        with Ledger(LIBRARY, SERVER, ACCOUNT_SET) as ledger:
            self.assertEqual(sum(r["原值"] for r in ledger.register("2024-03")), 156000.0)
            charges = ledger.depreciation("2024-02", "2024-03")
            self.assertEqual({r["期间"] for r in charges}, {"2024-02", "2024-03"})
            with self.assertRaises(TkamError) as refused:
                ledger.add_asset("99-99", "坏", 100, "2024-05-02")
            self.assertIn("99-99", refused.exception.description)

    def test_reports_are_written_as_the_command_line_writes_them(self):
        with Ledger(LIBRARY, SERVER, ACCOUNT_SET) as ledger, tempfile.TemporaryDirectory() as d:
            ledger.write_report("register", os.path.join(d, "r.html"))
            ledger.write_report("depreciation", os.path.join(d, "d.csv"), "csv")
            with open(os.path.join(d, "r.html"), encoding="utf-8") as page:
                html = page.read()
            with open(os.path.join(d, "d.csv"), encoding="utf-8-sig") as sheet:
                csv = sheet.read()
        self.assertEqual(html.count("<svg"), 2)
        self.assertIn("数控车床", html)
        self.assertIn("期间,科目编码", csv)
        self.assertNotRegex(csv, r"\d,\d{3}\.")  # plain numbers, no thousands separators


class CarryForwardTest(unittest.TestCase):
    def test_a_host_carries_the_closed_year_into_the_next_set(self):
        rows = carry_forward(LIBRARY, SERVER, ADMIN_SERVER, CLOSED_YEAR, CLOSED_YEAR + "2025",
                             "2025-01-01", "2024-01-01")
        self.assertEqual(len(rows), 2)
        self.assertEqual(sum(r["原值"] for r in rows), 42000.0)
        self.assertLess(sum(r["净值"] for r in rows), 42000.0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
