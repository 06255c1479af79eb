# Writes the two small .xls workbooks kept in the repository: the test
# workbook tests/members/import/data/members.xls and the sample workbook
# members/import/lunmarkcust.xls that the import window offers.
#
# Run by hand with Debian's python3-xlwt when they need to change:
#   /usr/bin/python3 tests/members/import/data/make_xls_files.py
# The build and the tests use the files only; they do not need xlwt.
import datetime
import os

import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", "..", ".."))

HEADINGS = ["會員編號", "姓名", "稱謂", "電話", "行動電話", "住家電話", "傳真", "類別",
            "生日", "民國生日", "身分證號", "入會日期", "地址", "備註一", "備註二",
            "備註三", "備註四", "備註五", "其他日期", "", "", "有效"]


def put(sheet, row, values, styles):
    for column, value in enumerate(values):
        if value is None:
            continue
        style = styles.get(type(value))
        if style is None:
            sheet.write(row, column, value)
        else:
            sheet.write(row, column, value, style)


def test_workbook():
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("會員")
    styles = {
        datetime.date: xlwt.easyxf(num_format_str="yyyy/mm/dd"),
        datetime.datetime: xlwt.easyxf(num_format_str="yyyy/mm/dd hh:mm:ss"),
    }
    put(sheet, 0, HEADINGS, styles)
    put(sheet, 1, ["A001", " 王小明 ", "先生", "02-2345-6789", 912345678, None, None, "一般",
                   datetime.date(1976, 12, 31), "65/12/31", "A123456789", "96/05/01",
                   "台北市中正區", "備註", 1.5, 1234567890123, None, None,
                   datetime.datetime(2020, 1, 2, 13, 45, 0), "不讀", "不讀", True], styles)
    put(sheet, 2, [123, "陳美玲", "小姐", None, None, None, None, None, None, None, None,
                   None, None, None, None, None, None, None, None, None, None, 0], styles)
    put(sheet, 3, [" 007 ", "林", None, None, None, None, None, None, "1980-02-29", None,
                   None, None, None, None, None, None, None, None, None, None, None, "是"],
        styles)
    put(sheet, 4, [None, "資料已結束"], styles)
    put(sheet, 5, ["Z999", "不導入"], styles)
    book.save(os.path.join(HERE, "members.xls"))


def sample_workbook():
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("會員資料")
    styles = {datetime.date: xlwt.easyxf(num_format_str="yyyy/mm/dd")}
    text = xlwt.easyxf(num_format_str="@")
    put(sheet, 0, HEADINGS, styles)
    put(sheet, 1, ["0001", "王小明", "先生", "02-2345-6789", "0912-345-678", "02-2765-4321",
                   "02-2345-6790", "一般", datetime.date(1976, 12, 31), "65/12/31",
                   "A123456789", "96/05/01", "台北市中正區重慶南路一段1號", "", "", "", "",
                   "", "", None, None, "是"], styles)
    for column in range(len(HEADINGS)):
        sheet.col(column).width = 14 * 256
        if column not in (8,):
            sheet.col(column).set_style(text)
    book.save(os.path.join(ROOT, "members", "import", "lunmarkcust.xls"))


test_workbook()
sample_workbook()
