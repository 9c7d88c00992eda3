# Installs the program as a desktop screensaver (XScreenSaver's hack folder and
# settings page, the screensaver entry of MATE's and Xfce's savers, a menu
# entry for the settings dialog, the manual, the licences) and packs it as a
# Debian package: cpack -G DEB.
include(GNUInstallDirs)

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# The package's version is the top entry of its changelog; the two must agree.
file(STRINGS ${packaging}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^tidereach \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with '${changelog_top}', "
                      "but the project is version ${PROJECT_VERSION}: add an entry for it")
endif()

install(TARGETS tidereach RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A private module, beside the program's other private files: no library folder
# of the system, so nothing for ldconfig.
install(TARGETS tidereach_dialog LIBRARY DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tidereach)

# XScreenSaver runs its hacks from its own folder, and MATE's and Xfce's savers
# run only commands they find there: a relative link there keeps one copy of
# the program.
file(RELATIVE_PATH hack_target ${CMAKE_INSTALL_FULL_LIBEXECDIR}/xscreensaver
     ${CMAKE_INSTALL_FULL_BINDIR}/tidereach)
file(MAKE_DIRECTORY ${generated})
file(CREATE_LINK ${hack_target} ${generated}/tidereach SYMBOLIC)
install(FILES ${generated}/tidereach DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES ${packaging}/tidereach.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${packaging}/tidereach-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/tidereach-screensaver.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers
        RENAME tidereach.desktop)

# Debian wants the manual and the changelog compressed, reproducibly (-n: no
# name or time stamp in the header).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(compressed)
foreach(source tidereach.6 changelog)
  add_custom_command(OUTPUT ${generated}/${source}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${packaging}/${source} ${generated}/${source}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${generated}/${source}
    DEPENDS ${packaging}/${source}
    COMMENT "Compressing ${source}")
  list(APPEND compressed ${generated}/${source}.gz)
endforeach()
add_custom_target(tidereach_packaging ALL DEPENDS ${compressed})
install(FILES ${generated}/tidereach.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${generated}/changelog.gz ${packaging}/copyright ${CMAKE_SOURCE_DIR}/README.md
              ${CMAKE_SOURCE_DIR}/resources/LICENSE-DejaVu.txt ${CMAKE_SOURCE_DIR}/resources/LICENSE-cities.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tidereach)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tideway Islands developers <dev@tideway-islands.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated tropical island screensaver")
# Debian's control file wants description lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [[
A full-screen screensaver: a tropical island with moving water, seagulls,
two dolphins that leap now and then and a yacht that sails in, turns about
and sails away, with an analog clock, a looping sea sound and a day-and-night
light cycle that follows the real sunrise and sunset of a chosen city.

It runs full screen, in a window, or as the screensaver of XScreenSaver,
MATE or Xfce, and has its own settings dialog, Tideway Islands Settings.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Any one of the hosts that run it as their saver.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, mate-screensaver, xfce4-screensaver")
include(CPack)
