# QV's parsers: the BMP reader of the image exports and the serial
# mode-string parser. Their sources, and the platform layer both record
# their errors in, are built into each harness, so they are instrumented.
set(QV_FUZZ_SRC ${PROJECT_SOURCE_DIR}/qv/src)
set(QV_FUZZ_INCLUDES ${QV_FUZZ_SRC} ${PROJECT_SOURCE_DIR}/qv/include)
set(QV_FUZZ_PLATFORM
    ${QV_FUZZ_SRC}/error_kind.cpp
    ${QV_FUZZ_SRC}/network_printer.cpp
    ${QV_FUZZ_SRC}/platform.cpp
    ${QV_FUZZ_SRC}/posix_backend.cpp
    ${QV_FUZZ_SRC}/posix_exclusive_file.cpp
    ${QV_FUZZ_SRC}/posix_printer.cpp
    ${QV_FUZZ_SRC}/posix_quiet_write.cpp
    ${QV_FUZZ_SRC}/posix_rate.cpp
    ${QV_FUZZ_SRC}/posix_termios.cpp
    ${QV_FUZZ_SRC}/posix_system.cpp
    ${QV_FUZZ_SRC}/posix_tcp.cpp
    ${QV_FUZZ_SRC}/x11_screen.cpp)

lunmark_fuzz_harness(qv_bmp
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/qv_bmp/harness.cpp
          ${QV_FUZZ_SRC}/bmp_file.cpp
          ${QV_FUZZ_PLATFORM}
  LIBS ${CMAKE_DL_LIBS}
  INCLUDES ${QV_FUZZ_INCLUDES})

lunmark_fuzz_harness(qv_mode_string
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/qv_mode_string/harness.cpp
          ${QV_FUZZ_SRC}/mode_string.cpp
          ${QV_FUZZ_PLATFORM}
  LIBS ${CMAKE_DL_LIBS}
  INCLUDES ${QV_FUZZ_INCLUDES})
