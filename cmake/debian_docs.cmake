# Run by cpack after the install into its staging folder, before the Debian
# package is made: as Debian's policy has them, the program without the
# compiler's notes, the manual page compressed and the changelog added.
set(staging ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(prefix "${staging}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB pages "${prefix}/${CPACK_TARNWICK_MANDIR}/man1/*.1")
set(docdir "${prefix}/${CPACK_TARNWICK_DOCDIR}")
file(COPY_FILE ${CPACK_TARNWICK_CHANGELOG} "${docdir}/changelog")
execute_process(
  COMMAND ${CPACK_TARNWICK_STRIP} --strip-unneeded --remove-section=.comment
          --remove-section=.note "${prefix}/${CPACK_TARNWICK_BINDIR}/tarnwick"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "strip: ${status}")
endif()
foreach(file IN LISTS pages ITEMS "${docdir}/changelog")
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${file}: ${status}")
  endif()
endforeach()
