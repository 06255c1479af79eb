// Writes the workbooks of tests/members/import/data that the npm packages
// exceljs and xlsx (SheetJS) make, as a script writes a workbook that no
// spreadsheet program has opened: dates in Minguo formats, and formulas
// without their results.
//
// Run by make_fixtures.sh with NODE_PATH naming the folder the packages are
// installed in; the build and the tests use the written files only.
const path = require('path');
const ExcelJS = require('exceljs');
const XLSX = require('xlsx');

const out = process.argv[2] || __dirname;
const headings = ['會員編號', '姓名', '稱謂', '電話', '行動電話', '住家電話', '傳真', '類別',
  '生日', '民國生日', '身分證號', '入會日期'];

// A date cell of ExcelJS: midnight UTC of the day, in a number format.
function excelDate(sheet, ref, year, month, day, code) {
  const cell = sheet.getCell(ref);
  cell.value = new Date(Date.UTC(year, month - 1, day));
  cell.numFmt = code;
}

async function exceljs() {
  const minguo = new ExcelJS.Workbook();
  let sheet = minguo.addWorksheet('會員');
  sheet.addRow(headings);
  sheet.getCell('A2').value = 'E1';
  sheet.getCell('B2').value = '王小明';
  excelDate(sheet, 'I2', 1976, 12, 31, '[$-zh-TW]e/mm/dd');
  excelDate(sheet, 'J2', 1976, 12, 31, '[$-zh-TW]e/mm/dd');
  excelDate(sheet, 'L2', 2007, 5, 1, '[$-404]e/mm/dd');
  sheet.getCell('A3').value = 'E2';
  sheet.getCell('B3').value = '林小美';
  excelDate(sheet, 'J3', 2011, 1, 5, '[$-404]e/mm/dd');
  excelDate(sheet, 'L3', 2011, 1, 5, '[$-404]e"年"m"月"d"日"');
  await minguo.xlsx.writeFile(path.join(out, 'minguo_exceljs.xlsx'));

  const formula = new ExcelJS.Workbook();
  sheet = formula.addWorksheet('會員');
  sheet.addRow(headings);
  sheet.getCell('A2').value = 'F1';
  sheet.getCell('B2').value = '王小明';
  sheet.getCell('N2').value = {formula: 'B2&"會員"'};
  await formula.xlsx.writeFile(path.join(out, 'formula_exceljs.xlsx'));
}

// SheetJS counts dates as the 1900 system's serials.
function serial(year, month, day) {
  return (Date.UTC(year, month - 1, day) - Date.UTC(1899, 11, 30)) / 86400000;
}

function sheetjs() {
  let sheet = XLSX.utils.aoa_to_sheet([headings, ['S1', '王小明'], ['S2', '林小美']]);
  sheet.I2 = {t: 'n', v: serial(1976, 12, 31), z: '[$-404]e/mm/dd'};
  sheet.J2 = {t: 'n', v: serial(1976, 12, 31), z: '[$-404]e/mm/dd'};
  sheet.L2 = {t: 'n', v: serial(2007, 5, 1), z: '[$-zh-TW]e/mm/dd'};
  sheet.J3 = {t: 'n', v: serial(2011, 1, 5), z: '[$-404]e/mm/dd'};
  sheet.L3 = {t: 'n', v: serial(2011, 1, 5), z: '[$-404]e/mm/dd'};
  sheet['!ref'] = 'A1:L3';
  let book = XLSX.utils.book_new();
  XLSX.utils.book_append_sheet(book, sheet, '會員');
  XLSX.writeFile(book, path.join(out, 'minguo_sheetjs.xls'), {bookType: 'biff8'});
  XLSX.writeFile(book, path.join(out, 'minguo_sheetjs.xlsx'));

  sheet = XLSX.utils.aoa_to_sheet([headings, ['F1', '王小明']]);
  sheet.N2 = {t: 's', f: 'B2&"會員"'};
  sheet['!ref'] = 'A1:N2';
  book = XLSX.utils.book_new();
  XLSX.utils.book_append_sheet(book, sheet, '會員');
  XLSX.writeFile(book, path.join(out, 'formula_sheetjs.xlsx'));
}

exceljs().then(sheetjs);
