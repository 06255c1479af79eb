# Man pages for the installed programs, made at build time by help2man from
# each program's own --help (so they list exactly the options it has) and the
# sections in man/<program>.h2m (its NAME line too).

find_program(LUNMARK_HELP2MAN help2man)
if(CMAKE_CROSSCOMPILING OR NOT LUNMARK_HELP2MAN)
  message(STATUS "Man pages are not made: they need help2man and programs that run here")
  return()
endif()

# lunmark_man_page(PROGRAM COMPONENT): PROGRAM(1), installed with COMPONENT.
# Lunmark's --help names the folder of the user's guide: the one the package
# installs (it is the package's man page), not the source tree's.
function(lunmark_man_page program component)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  set(sections ${CMAKE_CURRENT_SOURCE_DIR}/man/${program}.h2m)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            LUNMARK_GUIDE_DIR=/usr/${CMAKE_INSTALL_DATADIR}/lunmark/guide
            ${LUNMARK_HELP2MAN} --locale=C.UTF-8 --no-info --section=1 --version-string=${PROJECT_VERSION}
            --include=${sections} --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${LUNMARK_GZIP} -9nf ${page}
    DEPENDS ${program} ${sections}
    COMMENT "Man page ${program}(1) from ${program} --help"
    VERBATIM)
  add_custom_target(${program}_man_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

if(TARGET lunmark)
  lunmark_man_page(lunmark lunmark)
endif()
if(TARGET lunmark-gateway-sim)
  lunmark_man_page(lunmark-gateway-sim lunmark-tools)
endif()
if(TARGET qvctl)
  lunmark_man_page(qvctl qvctl)
endif()
