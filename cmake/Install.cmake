# Installing: the program and its pictures side by side in one folder.
set(QUILLORY_PROGRAM_DIR lib/quillory)
install(TARGETS quillory RUNTIME DESTINATION ${QUILLORY_PROGRAM_DIR})
install(FILES ${QUILLORY_BMPS} DESTINATION ${QUILLORY_PROGRAM_DIR})
install(CODE "
  set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillory\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${QUILLORY_PROGRAM_DIR}/quillory \"\${link}\" SYMBOLIC)
  message(STATUS \"Installing: \${link}\")")
install(FILES packaging/org.quillory.Quillory.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.quillory.Quillory.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/org.quillory.Quillory.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The replay driver, for checking an installed program; not part of the package.
if(TARGET quillory-replay)
  install(TARGETS quillory-replay RUNTIME DESTINATION ${QUILLORY_PROGRAM_DIR}
          COMPONENT driver EXCLUDE_FROM_ALL)
endif()
