# Run by CPack after the packages are made (CPACK_POST_BUILD_SCRIPTS). CPack gives a package with
# a library in /usr/lib postinst and postrm scripts that call ldconfig; dpkg's ldconfig trigger,
# which the library's package activates (cmake/debian/triggers), does that already. The package
# is rebuilt without them, so it has no maintainer scripts at all.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "/libquillet1_[^/]*\\.deb$")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
