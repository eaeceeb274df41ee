# The run path of installed programs, and the Debian packages (components in Packaging.cmake).
# Include after the areas, so that the run path is settled after the programs are installed.

# The folders the dynamic linker searches without being told.
set(corvane_linker_dirs ${CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES})
if(CMAKE_LIBRARY_ARCHITECTURE)
  list(APPEND corvane_linker_dirs
    /lib/${CMAKE_LIBRARY_ARCHITECTURE} /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()
function(corvane_settle_run_path component)
  set(programs ${ARGN})
  set(script ${CMAKE_BINARY_DIR}/cmake/DropRunPath-${component}.cmake)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/DropRunPath.cmake.in ${script} @ONLY)
  install(SCRIPT ${script} COMPONENT ${component})
endfunction()
corvane_settle_run_path(Player Corvane_net_player corvane-record)
corvane_settle_run_path(Station corvane-station)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${CORVANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
# The install runs with the real prefix (and DESTDIR): the menu entry names /usr/bin, and the
# run path above sees /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Player Quillet QuilletDev Station)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# Dependencies: what the binaries link, as dpkg-shlibdeps reads it, and between our own packages
# the exact version. libQuillet is found in the build tree, and its package is the dependency.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_PLAYER_DEPENDS Quillet)
set(CPACK_COMPONENT_QUILLETDEV_DEPENDS Quillet)

# Package names and sections, in the order of CPACK_COMPONENTS_ALL.
set(corvane_package_names corvane-net-player libquillet1 libquillet-dev corvane-station)
set(corvane_package_sections sound libs libdevel sound)
foreach(corvane_component corvane_name corvane_section
        IN ZIP_LISTS CPACK_COMPONENTS_ALL corvane_package_names corvane_package_sections)
  string(TOUPPER ${corvane_component} corvane_upper)
  set(CPACK_DEBIAN_${corvane_upper}_PACKAGE_NAME ${corvane_name})
  set(CPACK_DEBIAN_${corvane_upper}_PACKAGE_SECTION ${corvane_section})
endforeach()

# What the programs start or load at run time, which no binary names: Qt's window-system plugins
# for the player (Qt only recommends them), ffmpeg (making the songs) for the station. (Qt
# WebEngine's helper process comes with the shlibs of its library.)
set(CPACK_DEBIAN_PLAYER_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_STATION_PACKAGE_DEPENDS "ffmpeg")
# Qt's own texts, for its stock dialogs (buttons of message boxes, the folder dialog) in the
# languages the player speaks; without them those stay English.
set(CPACK_DEBIAN_PLAYER_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_STATION_PACKAGE_SUGGESTS "corvane-net-player")

# The library: a shlibs file for programs built against it, ldconfig through dpkg's trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_QUILLET_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/debian/DropLdconfigScripts.cmake)

set(CPACK_COMPONENT_PLAYER_DESCRIPTION "internet radio and TV player and radio recorder
Corvane net player plays the radio and TV channels an operator publishes on
a web server: it downloads the operator's channel directory, plays the
chosen stream (sound, or video full screen), pops up the operator's messages
and shows their web pages.

Its recorder, in a window or as the command corvane-record, saves radio
streams to MP3 files, one per recording or one per song named after the
stream title, while relaying the stream to one local player.")
set(CPACK_COMPONENT_QUILLET_DESCRIPTION "INI store library of Corvane net player
Quillet reads and writes INI files with the semantics of the Win32 profile
functions, and offers an enumerable model of a file's sections and entries.

This package holds the shared library.")
set(CPACK_COMPONENT_QUILLETDEV_DESCRIPTION "INI store library of Corvane net player (development files)
Quillet reads and writes INI files with the semantics of the Win32 profile
functions, and offers an enumerable model of a file's sections and entries.

This package holds the headers and the CMake package: find_package(Quillet).")
set(CPACK_COMPONENT_STATION_DESCRIPTION "demo operator and radio and TV stations on loopback
Corvane station is a small headless server on 127.0.0.1 that plays the part
of an operator of Corvane net player and of their stream servers: the
operator's files, four radio channels with a title per song and a TV test
card, all made on the machine with ffmpeg.

It lets the player and corvane-record be tried without an operator or the
internet.")

include(CPack)
