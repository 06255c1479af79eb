# Harnesses of the member imports: the .xls and .xlsx readers, the XML
# scanner of the workbook parts, the CSV reader and the printed member list.
if(LUNMARK_BUILD_APP)
  set(import_dir ${PROJECT_SOURCE_DIR}/members/import)
  set(import_cells ${import_dir}/cell_text.cpp ${import_dir}/number_format.cpp
                   ${import_dir}/minguo_format.cpp ${import_dir}/date_digits.cpp)

  lunmark_fuzz_harness(import_xls
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_xls/import_xls.cpp
            ${import_dir}/xls_reader.cpp ${import_dir}/compound_file.cpp
            ${import_dir}/biff_records.cpp ${import_dir}/import_errors.cpp
            ${import_dir}/file_bytes.cpp ${import_cells}
    LIBS Qt6::Core Qt6::Sql)

  lunmark_fuzz_harness(import_xlsx
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_xlsx/import_xlsx.cpp
            ${import_dir}/xlsx_reader.cpp ${import_dir}/xlsx_parts.cpp
            ${import_dir}/xlsx_plain_cell.cpp ${import_dir}/xml_scanner.cpp
            ${import_dir}/zip_archive.cpp ${import_dir}/import_errors.cpp ${import_cells}
    LIBS Qt6::Core PkgConfig::MemberImportLibs)

  lunmark_fuzz_harness(import_xml
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_xml/import_xml.cpp ${import_dir}/xml_scanner.cpp
    LIBS Qt6::Core)

  lunmark_fuzz_harness(import_csv
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_csv/import_csv.cpp ${import_dir}/csv_reader.cpp
            ${import_dir}/file_bytes.cpp
            ${PROJECT_SOURCE_DIR}/base/big5.cpp
    LIBS Qt6::Core)

  lunmark_fuzz_harness(import_member_list
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_member_list/import_member_list.cpp
            ${import_dir}/member_list.cpp ${import_dir}/import_values.cpp
            ${import_dir}/date_digits.cpp
            ${PROJECT_SOURCE_DIR}/members/minguo_date.cpp ${PROJECT_SOURCE_DIR}/base/big5.cpp
            ${PROJECT_SOURCE_DIR}/base/whole_number.cpp
    LIBS Qt6::Core)
endif()

# GCC's array-bounds analysis under AddressSanitizer takes the empty byte
# array's one-character buffer for every array whose size the reader has
# checked before reading, and warns about reads the checks rule out.
if(LUNMARK_BUILD_APP AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(fuzz_import_xls PRIVATE -Wno-array-bounds)
endif()
