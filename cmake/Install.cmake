# Installation and the Debian package. `cmake --install` lays out the programs, the read-only
# program files, the machine settings, the default data directory and the desktop integration;
# `cpack` in the build folder makes the Debian package of the same files (`./dev package` builds
# one for /usr).
set(desktop "${CMAKE_SOURCE_DIR}/resources/desktop")
set(app_id org.kalvintor.Kalvintor)

install(TARGETS kalvintor kalvintor-admin RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY "${KALVINTOR_PROGRAM_DIR}/Language" "${KALVINTOR_PROGRAM_DIR}/Media" "${KALVINTOR_PROGRAM_DIR}/fonts"
        DESTINATION "${KALVINTOR_INSTALL_SHAREDIR}")
# The shipped setups and courses lie at the top of the program directory.
install(DIRECTORY "${KALVINTOR_PROGRAM_DIR}/" DESTINATION "${KALVINTOR_INSTALL_SHAREDIR}"
        FILES_MATCHING PATTERN "*.lvs" PATTERN "*.tut"
        PATTERN "Data" EXCLUDE PATTERN "Language" EXCLUDE PATTERN "Media" EXCLUDE PATTERN "fonts" EXCLUDE)

configure_file("${desktop}/kalvintor.ini.in" "${CMAKE_BINARY_DIR}/install/kalvintor.ini" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/install/kalvintor.ini" DESTINATION "${KALVINTOR_INSTALL_CONFIGDIR}")
install(DIRECTORY DESTINATION "${KALVINTOR_INSTALL_DATADIR}"
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_WRITE GROUP_EXECUTE
                              SETGID WORLD_READ WORLD_EXECUTE)

configure_file("${desktop}/${app_id}.metainfo.xml.in" "${CMAKE_BINARY_DIR}/install/${app_id}.metainfo.xml" @ONLY)
install(FILES "${desktop}/${app_id}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${desktop}/${app_id}.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
install(FILES "${desktop}/${app_id}.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_BINARY_DIR}/install/${app_id}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvintor)
set(CPACK_PACKAGE_VENDOR "Kalvintor School")
set(CPACK_PACKAGE_CONTACT "Kalvintor School <support@kalvintor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ear training for music schools")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_FILE_NAME "kalvintor_${CPACK_PACKAGE_VERSION}_amd64")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_PACKAGE_DESCRIPTION "Ten listening exercises (chords, intervals, rhythms, scales, melodies and
progressions) answered by name buttons, piano, guitar, staff, MIDI keyboard,
tapping, clapping or singing; results per student, class and period; courses
and printed reports; one data directory shared by a school's workstations.")
# The runtime libraries come from the binaries; the SoundFont of the built-in synthesizer is
# named here. The music font travels inside the package under its own licence.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# FluidSynth is opened by name when the synthesizer is set up, so the binaries do not show it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont, fonts-dejavu-core, libfluidsynth3")
configure_file("${desktop}/postinst.in" "${CMAKE_BINARY_DIR}/install/postinst" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_BINARY_DIR}/install/postinst;${CMAKE_BINARY_DIR}/install/conffiles")
file(WRITE "${CMAKE_BINARY_DIR}/install/conffiles" "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kalvintor/kalvintor.ini\n")
include(CPack)
