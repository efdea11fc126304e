# The Debian package, made by `cmake --build build --target package`.
set(CPACK_PACKAGE_NAME quillory)
set(CPACK_PACKAGE_VENDOR "The Quillory developers")
set(CPACK_PACKAGE_CONTACT "The Quillory developers <developers@quillory.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English grammar tutor for Japanese-speaking learners")
set(CPACK_PACKAGE_DESCRIPTION "Fourteen lessons in conversation with a teacher, a quiz on the
five sentence patterns and a short adventure game, all instruction in Japanese.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk")
# A voice for reading the English aloud, and Qt's own texts in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-speech-flite-plugin | qt6-speech-speechd-plugin, qt6-translations-l10n")
include(CPack)
