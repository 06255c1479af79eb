# The Debian packages: `cpack -G DEB` in the build folder makes one package per
# component (lunmark, lunmark-tools, libqv, libqv-dev, qvctl) from the install
# rules, under /usr, with stripped programs, dependencies computed by
# dpkg-shlibdeps, and each package's copyright file and changelog.

set(LUNMARK_MAINTAINER "Lunmark Maintainers <maintainers@lunmark.example>")
set(LUNMARK_DEBIAN_REVISION 1)
set(LUNMARK_DEBIAN_VERSION ${PROJECT_VERSION}-${LUNMARK_DEBIAN_REVISION})

# The changelog's newest entry names the version being packaged.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^lunmark \\(${LUNMARK_DEBIAN_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins \"${changelog_top}\"; its newest "
                      "entry must be for version ${LUNMARK_DEBIAN_VERSION}")
endif()
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${LUNMARK_GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog
  COMMENT "changelog.Debian.gz")
add_custom_target(debian_changelog ALL DEPENDS ${changelog_gz})

# lunmark_package(COMPONENT SECTION DESCRIPTION [DEPENDS component...]
#                 [EXTRA_DEPENDS text] [RECOMMENDS text] [SUGGESTS text])
# DESCRIPTION: the summary line, then the long description.
function(lunmark_package component section description)
  cmake_parse_arguments(P "" "EXTRA_DEPENDS;RECOMMENDS;SUGGESTS" "DEPENDS" ${ARGN})
  string(TOUPPER ${component} C)
  set(CPACK_DEBIAN_${C}_PACKAGE_NAME ${component} PARENT_SCOPE)
  set(CPACK_DEBIAN_${C}_PACKAGE_SECTION ${section} PARENT_SCOPE)
  set(CPACK_DEBIAN_${C}_DESCRIPTION "${description}" PARENT_SCOPE)
  set(CPACK_COMPONENT_${C}_DEPENDS ${P_DEPENDS} PARENT_SCOPE)
  set(CPACK_DEBIAN_${C}_PACKAGE_DEPENDS "${P_EXTRA_DEPENDS}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${C}_PACKAGE_RECOMMENDS "${P_RECOMMENDS}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${C}_PACKAGE_SUGGESTS "${P_SUGGESTS}" PARENT_SCOPE)
  set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${component})
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright DESTINATION ${doc} COMPONENT ${component})
  install(FILES ${changelog_gz} DESTINATION ${doc} COMPONENT ${component})
endfunction()

lunmark_package(libqv libs
  "收銀機週邊裝置驅動程式庫 QV
QV 是一組以名稱匯出的 C 函式，讓收銀程式經由序列埠、並列埠、具名裝置與
紅外線轉接器驅動收據印表機（7、3、71、9 與 P20 系列）、文字與 LCD
顧客顯示器、64 點列的圖形顯示器和錢櫃。"
  RECOMMENDS "fonts-arphic-uming"
  SUGGESTS "libx11-6")
set(CPACK_DEBIAN_LIBQV_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/libqv/triggers)

lunmark_package(libqv-dev libdevel
  "收銀機週邊裝置驅動程式庫 QV：開發檔案
以 QV 撰寫收銀程式所需的標頭檔 qv.h、pkg-config 描述檔 qv.pc 與連結用的
libqv.so。"
  DEPENDS libqv)

lunmark_package(qvctl utils
  "從命令列呼叫 QV 的函式，試驗收銀機週邊裝置
qvctl 載入 libqv，依名稱呼叫它的函式並印出每次呼叫的結果，安裝人員不必
寫程式就能試驗收據印表機、顧客顯示器與錢櫃。"
  DEPENDS libqv)

if(TARGET lunmark)
  lunmark_package(lunmark misc
    "會員管理程式 — 會員資料、列印與簡訊發送
Lunmark（會員管理）是小商店與社團使用的繁體中文會員管理程式：會員資料、
搜尋、列印名冊與標籤、從試算表匯入會員，以及透過商用簡訊閘道發送簡訊給
選定的會員並保留發送紀錄。資料放在一個 SQLite 資料庫檔案中，幾台電腦共用時
則放在 PostgreSQL 伺服器上。"
    EXTRA_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql"
    RECOMMENDS "fonts-arphic-uming | fonts-noto-cjk, qt6-translations-l10n")
endif()
if(TARGET lunmark-gateway-sim)
  lunmark_package(lunmark-tools devel
    "Lunmark 的簡訊閘道模擬程式
lunmark-gateway-sim 在本機扮演簡訊閘道，讓沒有簡訊帳號時也能試用與測試
Lunmark 的簡訊功能：它檢查帳號資料、記錄每則簡訊並扣除點數，也能扮演緩慢、
失敗或中斷連線的閘道。"
    SUGGESTS "lunmark")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lunmark)
set(CPACK_PACKAGE_VENDOR "Lunmark")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${LUNMARK_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${LUNMARK_PACKAGES})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LUNMARK_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON) # libqv's shlibs file
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
