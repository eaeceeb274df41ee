# What is installed, in which component, and the Debian packages CPack makes of them
# (scripts/package, or: cpack --config build/CPackConfig.cmake).
#
#   component   package              what
#   Player      corvane-net-player   the player, corvane-record, the chime, menu entry, icons,
#                                    AppStream file, their manual pages
#   Quillet     libquillet1          libQuillet.so.1 (the package is named after the SONAME)
#   QuilletDev  libquillet-dev       headers, libQuillet.so, the CMake package for find_package
#   Station     corvane-station      the demo station, its operator files, its manual page
#
# Include before the areas: every install rule without a component of its own is the player's.

set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME Player)
set(corvane_packages
    Player corvane-net-player
    Quillet libquillet1
    QuilletDev libquillet-dev
    Station corvane-station)
set(CORVANE_PACKAGE_MAINTAINER "The Corvane developers <packages@corvane.org>"
    CACHE STRING "Maintainer field of the Debian packages")

# gzip -9n (no name, no time stamp): the same bytes from every build, as Debian wants for manual
# pages and changelogs. Built by default, as the target named TARGET.
function(corvane_gzip target input output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${input} ${output}
    DEPENDS ${input}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# A Debian package carries its copyright and changelog in /usr/share/doc/<package>. They belong to
# the packages only: EXCLUDE_FROM_ALL keeps them out of a plain `cmake --install`, while CPack,
# installing component by component, takes them.
function(corvane_package_docs component package)
  string(TIMESTAMP date "%a, %d %b %Y 00:00:00 +0000" UTC)
  set(doc ${CMAKE_BINARY_DIR}/debian/${package})
  set(version ${PROJECT_VERSION})
  set(maintainer ${CORVANE_PACKAGE_MAINTAINER})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${doc}/changelog @ONLY)
  corvane_gzip(${package}-changelog ${doc}/changelog ${doc}/changelog.gz)
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${doc}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()
set(corvane_pairs ${corvane_packages})
while(corvane_pairs)
  list(POP_FRONT corvane_pairs corvane_component corvane_package)
  corvane_package_docs(${corvane_component} ${corvane_package})
endwhile()
