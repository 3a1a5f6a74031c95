# The Debian package: `cpack -G DEB` in the build folder makes
# quillmere_<version>-<release>_<arch>.deb from the install rules.

set(QM_DEB_RELEASE 1)
set(QM_MAINTAINER "Quillmere maintainers <maintainers@users.noreply.c-seed-325c7c70.example>")

# Debian wants its changelog and the copyright in /usr/share/doc/quillmere.
# They belong to the package only, so a plain `cmake --install` leaves them out.
set(qm_debian_dir ${PROJECT_SOURCE_DIR}/resources/debian)
file(STRINGS ${qm_debian_dir}/changelog qm_changelog_head LIMIT_COUNT 1)
if(NOT qm_changelog_head MATCHES "^quillmere \\(${PROJECT_VERSION}-${QM_DEB_RELEASE}\\) ")
  message(FATAL_ERROR "resources/debian/changelog: the newest entry must be "
                      "${PROJECT_VERSION}-${QM_DEB_RELEASE}, not: ${qm_changelog_head}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qm_debian_dir}/changelog)
set(qm_changelog_gz ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
add_custom_command(OUTPUT ${qm_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${qm_debian_dir}/changelog ${qm_changelog_gz}
  DEPENDS ${qm_debian_dir}/changelog
  COMMENT "Debian changelog"
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${qm_changelog_gz})
install(FILES ${qm_changelog_gz} ${qm_debian_dir}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmere
  COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${qm_debian_dir}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME quillmere
  COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "${QM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flash card trainer for phrase pairs between two languages")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Both components (the program and Debian's files) in the one package.
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QM_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quillmere/quillmere)
# The Qt and C++ libraries are found from the executables; what they load
# at run time is named here: the window system plugins, the GStreamer
# plugins that play the WAV sounds, and the font the cards ask for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation")
# Speech for the sides without a sound: without it they stay silent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-speech-speechd-plugin, speech-dispatcher-espeak-ng")
# Debian's synopsis line is the summary above; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quillmere drills phrase pairs between two languages in the manner of flash
cards. Phrase pairs are kept in language files of numbered lessons, each side
optionally with a spoken sound. In an exercise a card zooms out of a card box,
shows the question, then writes the answer letter by letter and speaks it.
Every pair gets a priority that keeps it in the next exercises, holds it back
for a while or retires it. Editors maintain the language files and lessons;
the interface is English or German.
.
The command-line tool quillmere-lang shows what a language file holds and
turns it into a table for a spreadsheet and back.")

include(CPack)

# What is installed and packaged, checked by the validators Debian and the
# desktops use. In a scratch folder of its own, so it can run beside a build.
if(NOT QM_SANITIZE)
  add_test(NAME package_check
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/package-check.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/package-check)
  set_tests_properties(package_check PROPERTIES LABELS package TIMEOUT 600)
endif()
