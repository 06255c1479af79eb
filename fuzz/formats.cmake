# Harnesses of the file readers: the .xls and .xlsx readers, the XML scanner
# of the workbook parts and the CSV reader.
if(LUNMARK_BUILD_APP)
  set(formats_dir ${PROJECT_SOURCE_DIR}/formats)
  set(formats_cells ${formats_dir}/cell_text.cpp ${formats_dir}/number_format.cpp
                    ${formats_dir}/minguo_format.cpp ${formats_dir}/date_digits.cpp)

  lunmark_fuzz_harness(formats_xls
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/formats_xls/harness.cpp
            ${formats_dir}/xls_reader.cpp ${formats_dir}/compound_file.cpp
            ${formats_dir}/biff_records.cpp ${formats_dir}/import_errors.cpp
            ${formats_dir}/file_bytes.cpp ${formats_cells}
    LIBS Qt6::Core)

  lunmark_fuzz_harness(formats_xlsx
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/formats_xlsx/harness.cpp
            ${formats_dir}/xlsx_reader.cpp ${formats_dir}/xlsx_parts.cpp
            ${formats_dir}/xlsx_plain_cell.cpp ${formats_dir}/xml_scanner.cpp
            ${formats_dir}/zip_archive.cpp ${formats_dir}/import_errors.cpp ${formats_cells}
    LIBS Qt6::Core PkgConfig::FormatsZip)

  lunmark_fuzz_harness(formats_xml
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/formats_xml/harness.cpp ${formats_dir}/xml_scanner.cpp
    LIBS Qt6::Core)

  lunmark_fuzz_harness(formats_csv
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/formats_csv/harness.cpp ${formats_dir}/csv_reader.cpp
            ${formats_dir}/file_bytes.cpp
            ${PROJECT_SOURCE_DIR}/base/big5.cpp
    LIBS Qt6::Core)
endif()

# GCC's array-bounds analysis under AddressSanitizer takes the empty byte
# array's one-character buffer for every array whose size the reader has
# checked before reading, and warns about reads the checks rule out.
if(LUNMARK_BUILD_APP AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(fuzz_formats_xls PRIVATE -Wno-array-bounds)
endif()
