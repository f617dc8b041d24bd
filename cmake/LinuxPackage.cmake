# The Linux zeltool as a Debian package (cpack -G DEB in a Release build): the
# tool, its man page, the udev rule that lets users open the altimeter, and
# bash completion of its commands and options.
install(TARGETS zeltool RUNTIME DESTINATION bin)
install(FILES packaging/linux/zeltool.1 DESTINATION share/man/man1)
install(FILES packaging/linux/70-zelusb.rules DESTINATION /lib/udev/rules.d)
install(FILES packaging/linux/zeltool.bash-completion DESTINATION share/bash-completion/completions
        RENAME zeltool)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeltool)
set(CPACK_PACKAGE_VERSION ${ZEL_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "ZEL USB developers <zelusb@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command-line companion of the ZEL USB flight altimeter")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts the pages draw with: Liberation Sans first, then the fallbacks for
# Hebrew, Arabic, Chinese and Japanese comments.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-wqy-microhei")
include(CPack)
