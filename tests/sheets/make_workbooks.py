#!/usr/bin/python3
"""Writes the workbooks the sheet reader tests read, with openpyxl (a writer independent of
the libxlsxwriter the tests use too). Run again only to renew them:
    /usr/bin/python3 tests/sheets/make_workbooks.py tests/sheets/workbooks
"""
import sys
import zipfile
from pathlib import Path

import openpyxl

folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)

book = openpyxl.Workbook()
names = book.active
names.title = "名单"
names.append(["姓名", "电话", "备注"])
names.append(["张三", 13800138000, 0.1 + 0.2])
names.append(["李四", 1.3800138e10, True])
# Row 4 stays empty; row 5 has only its third cell.
names["C5"] = "只有C列"
names["A6"] = "=1+1"
second = book.create_sheet("第二页")
second["B2"] = -12.5
second["A3"] = 1e-7
book.save(folder / "openpyxl.xlsx")

whole = (folder / "openpyxl.xlsx").read_bytes()
(folder / "truncated.xlsx").write_bytes(whole[: len(whole) // 2])
with zipfile.ZipFile(folder / "not_a_workbook.xlsx", "w") as package:
    package.writestr("readme.txt", "no workbook here")
