# 32-bit Windows: the qv.dll that point-of-sale programs load.
set(QV_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
