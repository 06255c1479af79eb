# The installed layout: GNUInstallDirs, with the library in Debian's multiarch
# folder (lib/x86_64-linux-gnu and so on) under any prefix, as the packages
# have it under /usr.

if(CMAKE_LIBRARY_ARCHITECTURE AND NOT WIN32)
  # A build folder configured before this rule keeps GNUInstallDirs' plain
  # "lib" (recognised by its help text); a value someone chose is kept.
  get_property(libdir_help CACHE CMAKE_INSTALL_LIBDIR PROPERTY HELPSTRING)
  if(NOT DEFINED CACHE{CMAKE_INSTALL_LIBDIR} OR libdir_help STREQUAL "Object code libraries (lib)")
    set(CMAKE_INSTALL_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}"
        CACHE PATH "Object code libraries (lib/<multiarch>)" FORCE)
  endif()
  unset(libdir_help)
endif()
include(GNUInstallDirs)

# Installs TEMPLATE (its name without ".in") into DESTINATION for COMPONENT.
# @prefix@ becomes the prefix the files are installed under: that of
# `cmake --install --prefix`, or /usr when cpack builds the packages. Every
# other @VARIABLE@ is filled in when the build is configured.
function(lunmark_install_configured template destination component)
  get_filename_component(name "${template}" NAME_WLE)
  set(staged "${CMAKE_CURRENT_BINARY_DIR}/installed/${component}")
  set(prefix "@prefix@") # left for the install step
  configure_file("${template}" "${staged}/${name}.in" @ONLY)
  install(CODE "set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
configure_file(\"${staged}/${name}.in\" \"${staged}/${name}\" @ONLY)"
          COMPONENT ${component})
  install(FILES "${staged}/${name}" DESTINATION "${destination}" COMPONENT ${component})
endfunction()
