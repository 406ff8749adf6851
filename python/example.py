"""Adds two assets, closes a quarter and prints the register and its charges.

    python3 example.py <TkAMAssetInt.so> <server> <account set with demo data>
"""
import sys

from tkam import Ledger


def main(library, server, account_set):
    with Ledger(library, server, account_set) as ledger:
        lathe = ledger.add_asset("02-01-01", "数控车床", 120000, "2024-01-15", department="0103",
                                 funds=["01:60", "02:40"], account_lines=["510101:0103:100"])
        ledger.add_asset("04-02", "复印机", 36000, "2024-02-03", department="0101")
        ledger.close_periods("2024-01", "2024-03")
        ledger.transfer(lathe, "2024-04-08", "0101")
        for row in ledger.register("2024-03"):
            print(f"{row['资产编码']}  {row['资产名称']}  {row['部门']}  "
                  f"原值 {row['原值']:.2f}  累计折旧 {row['累计折旧']:.2f}  净值 {row['净值']:.2f}")
        for row in ledger.depreciation("2024-01", "2024-03", by_fund=True):
            print(f"{row['期间']}  {row['资金来源']}  {row['科目编码']}  {row['部门']}  "
                  f"{row['折旧额']:.2f}")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
