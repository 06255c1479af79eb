# The SMS gateway's answers: the Content-Type charset and the decoding of the
# body it names.
if(LUNMARK_BUILD_APP)
  lunmark_fuzz_harness(gateway_answer
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/gateway_answer/harness.cpp
      ${PROJECT_SOURCE_DIR}/sms/answer_text.cpp
      ${PROJECT_SOURCE_DIR}/base/big5.cpp
    LIBS Qt6::Core)
endif()
