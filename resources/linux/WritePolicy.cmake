# Run by cmake --install (and cpack): writes the polkit action for the program
# installed in ${CMAKE_INSTALL_PREFIX}/${KESTRELIA_BINDIR}, naming its real path
# on the system it is installed for. Under DESTDIR, links inside DESTDIR are
# followed and DESTDIR is cut off again.
if(IS_ABSOLUTE "${KESTRELIA_BINDIR}")
  set(program "${KESTRELIA_BINDIR}/kestrelia")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${KESTRELIA_BINDIR}/kestrelia")
endif()
cmake_path(NORMAL_PATH program)
set(destdir "$ENV{DESTDIR}")
if(destdir STREQUAL "")
  file(REAL_PATH "${program}" KESTRELIA_EXEC_PATH)
else()
  file(REAL_PATH "${destdir}" root)
  file(REAL_PATH "${destdir}${program}" staged)
  string(LENGTH "${root}" root_length)
  string(SUBSTRING "${staged}/" 0 ${root_length} staged_head)
  string(SUBSTRING "${staged}" ${root_length} -1 staged_tail)
  if(staged_head STREQUAL root AND staged_tail MATCHES "^/")
    set(KESTRELIA_EXEC_PATH "${staged_tail}")
  else()
    set(KESTRELIA_EXEC_PATH "${program}")
  endif()
endif()
configure_file("${KESTRELIA_POLICY_SOURCE}" "${KESTRELIA_POLICY}" @ONLY)
# install(FILES) skips a file whose copy is less than a second older than its source: an
# action installed just before for another prefix would stay. Remove it so it is copied.
file(REMOVE "$ENV{DESTDIR}/usr/share/polkit-1/actions/org.kestrelia.Kestrelia.policy")
