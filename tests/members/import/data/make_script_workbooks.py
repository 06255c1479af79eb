# Writes the workbooks of tests/members/import/data that python3-openpyxl
# makes, as a script writes a workbook that no spreadsheet program has
# opened: dates in Minguo formats, and formulas without their results.
#
# Run by make_fixtures.sh (Debian's python3-openpyxl); the build and the
# tests use the written files only.
import datetime
import os
import sys

import openpyxl

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))


def heading(sheet):
    sheet.append(["會員編號", "姓名", "稱謂", "電話", "行動電話", "住家電話", "傳真", "類別",
                  "生日", "民國生日", "身分證號", "入會日期"])


def dated(sheet, cell, value, code):
    sheet[cell] = value
    sheet[cell].number_format = code


def minguo():
    book = openpyxl.Workbook()
    sheet = book.active
    heading(sheet)
    sheet["A2"] = "P1"
    sheet["B2"] = "王小明"
    dated(sheet, "I2", datetime.date(1976, 12, 31), "[$-404]e/mm/dd")
    dated(sheet, "J2", datetime.date(1976, 12, 31), "[$-404]e/mm/dd")
    dated(sheet, "L2", datetime.date(2007, 5, 1), "[$-zh-TW]e/mm/dd")
    sheet["A3"] = "P2"
    sheet["B3"] = "林小美"
    dated(sheet, "J3", datetime.date(2011, 1, 5), "[$-zh-TW]e/m/d")
    dated(sheet, "L3", datetime.date(2011, 1, 5), "e/mm/dd")
    book.save(os.path.join(OUT, "minguo_openpyxl.xlsx"))


def formula():
    book = openpyxl.Workbook()
    sheet = book.active
    heading(sheet)
    sheet["A2"] = "F1"
    sheet["B2"] = "王小明"
    sheet["N2"] = '=B2&"會員"'
    book.save(os.path.join(OUT, "formula_openpyxl.xlsx"))


minguo()
formula()
