# Harness of the member imports: the printed member list.
if(LUNMARK_BUILD_APP)
  lunmark_fuzz_harness(import_member_list
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/import_member_list/import_member_list.cpp
            ${PROJECT_SOURCE_DIR}/members/import/member_list.cpp
            ${PROJECT_SOURCE_DIR}/members/import/import_values.cpp
            ${PROJECT_SOURCE_DIR}/formats/date_digits.cpp
            ${PROJECT_SOURCE_DIR}/members/minguo_date.cpp ${PROJECT_SOURCE_DIR}/base/big5.cpp
            ${PROJECT_SOURCE_DIR}/base/whole_number.cpp
    LIBS Qt6::Core)
endif()
