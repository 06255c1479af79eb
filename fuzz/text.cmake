# Lunmark's text paths: the Big5 helpers and the gateway's query encoding.
if(LUNMARK_BUILD_APP)
  lunmark_fuzz_harness(big5_text
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/big5_text/harness.cpp ${PROJECT_SOURCE_DIR}/base/big5.cpp
    LIBS Qt6::Core)

  lunmark_fuzz_harness(gateway_query
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gateway_query/harness.cpp
            ${PROJECT_SOURCE_DIR}/base/big5.cpp
            ${PROJECT_SOURCE_DIR}/sms/query_encoding.cpp
    LIBS Qt6::Core)
endif()
