# qv.dll: the library code with the Windows platform's files. Its exports are
# the names of exports.map, undecorated (qv.def), stdcall except jWait; the
# compiler's runtime is linked in, so the DLL needs only Windows' own DLLs.
set(QV_WIN32_SOURCES
  src/win32_backend.cpp
  src/win32_big5_text.cpp
  src/win32_dcb.cpp
  src/win32_exclusive_file.cpp
  src/win32_font.cpp
  src/win32_mode_string.cpp
  src/win32_screen.cpp
  src/win32_screen_canvas.cpp
  src/win32_system.cpp
  src/win32_tcp.cpp
)
include(${PROJECT_SOURCE_DIR}/cmake/qv_def_file.cmake)
qv_write_def_file(${CMAKE_CURRENT_BINARY_DIR}/qv.def ${QV_EXPORT_MAP} ${QV_SOURCES})

add_library(qv SHARED ${QV_SOURCES} ${QV_WIN32_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/qv.def)
set_target_properties(qv PROPERTIES PREFIX "" OUTPUT_NAME qv)
target_include_directories(qv PUBLIC include PRIVATE src src/win32_compat)
target_link_libraries(qv PRIVATE gdi32 user32 ws2_32)
# The undecorated names of qv.def bind to the stdcall symbols (QVOpenPort@8).
target_link_options(qv PRIVATE -static -static-libgcc -static-libstdc++
  -Wl,--enable-stdcall-fixup -Wl,--no-undefined)
lunmark_warnings(qv)
