# The installation and its Debian package: `cpack -G DEB` in a build configured with the install
# prefix /usr (scripts/package.sh does it with Debian's hardening flags). Every installed data file
# is made in the build tree first, under ${CMAKE_BINARY_DIR}/installation, so the package holds
# exactly what this build made.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(staging_dir ${CMAKE_BINARY_DIR}/installation)
# A Debian revision of its own: a fix of the packaging alone is released without a new program
# version. It also makes the package non-native, whose changelog is changelog.Debian.gz.
set(TALLOWBY_DEB_REVISION 1)
set(TALLOWBY_DEB_MAINTAINER "Tallowby developers <tallowby@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

# Directories that install() makes on its way (share/icons/hicolor/48x48/...) do not take the
# builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The newest changelog entry has to name the version being packaged, or dpkg and lintian would
# read the package's history wrongly.
file(STRINGS ${packaging_dir}/changelog.Debian changelog_head LIMIT_COUNT 1)
set(deb_version ${PROJECT_VERSION}-${TALLOWBY_DEB_REVISION})
if(NOT changelog_head MATCHES "^tallowby \\(${deb_version}\\) ")
  message(FATAL_ERROR "packaging/changelog.Debian must begin with an entry for ${deb_version}")
endif()

# The installation's default files: those of a fresh program folder, made in an empty folder so
# that nothing left from an earlier layout slips in, with the installed program's help page beside
# them.
include(${PROJECT_SOURCE_DIR}/cmake/ProgramFolder.cmake)
tallowby_help_page_command(installed "${staging_dir}/share/Tallowby - Help.htm" help_page help_sources)
add_custom_command(OUTPUT ${staging_dir}/share.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${staging_dir}/share
  COMMAND tallowby_mkfolder ${staging_dir}/share
  COMMAND ${help_page}
  COMMAND ${CMAKE_COMMAND} -E touch ${staging_dir}/share.stamp
  DEPENDS tallowby_mkfolder ${help_sources}
  VERBATIM)

add_custom_command(OUTPUT ${staging_dir}/hicolor.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${staging_dir}/hicolor
  COMMAND tallowby_theme_icons ${staging_dir}/hicolor
  COMMAND ${CMAKE_COMMAND} -E touch ${staging_dir}/hicolor.stamp
  DEPENDS tallowby_theme_icons
  VERBATIM)

# Debian wants manual pages and changelogs compressed at gzip's best, without a time stamp, so the
# same text always gives the same bytes.
find_program(GZIP gzip REQUIRED)
set(gzipped)
foreach(source tallowby.1 changelog.Debian)
  add_custom_command(OUTPUT ${staging_dir}/${source}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${packaging_dir}/${source} ${staging_dir}/${source}
    COMMAND ${GZIP} -9nf ${staging_dir}/${source}
    DEPENDS ${packaging_dir}/${source}
    VERBATIM)
  list(APPEND gzipped ${staging_dir}/${source}.gz)
endforeach()

# What software centres list (AppStream), named after the menu entry it describes. Its screenshots
# are the pictures in docs/, by their address on the project's web site: AppStream takes only
# http(s) addresses for them.
set(TALLOWBY_APP_ID org.tallowby.Tallowby)
set(TALLOWBY_WEB_HOME "https://tallowby.example.org" CACHE STRING
  "The project's web address; the package's AppStream entry names it and the screenshots under its docs/")
set(metainfo_source ${packaging_dir}/${TALLOWBY_APP_ID}.metainfo.xml.in)
# Its newest release has to be the version being packaged, as the changelog's has.
file(STRINGS ${metainfo_source} metainfo_releases REGEX "<release ")
list(GET metainfo_releases 0 metainfo_newest)
if(NOT metainfo_newest MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "${metainfo_source} must begin its releases with ${PROJECT_VERSION}")
endif()
configure_file(${metainfo_source} ${staging_dir}/${TALLOWBY_APP_ID}.metainfo.xml @ONLY)

add_custom_target(tallowby_installation ALL
  DEPENDS ${staging_dir}/share.stamp ${staging_dir}/hicolor.stamp ${gzipped})

install(TARGETS tallowby RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${staging_dir}/share/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tallowby)
install(DIRECTORY ${staging_dir}/hicolor/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${packaging_dir}/${TALLOWBY_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${staging_dir}/${TALLOWBY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${staging_dir}/tallowby.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_dir}/copyright ${staging_dir}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallowby)
install(FILES ${packaging_dir}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME tallowby)

set(CPACK_PACKAGE_NAME tallowby)
set(CPACK_PACKAGE_VENDOR "Tallowby developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timetable-driven blocker of distracting programs and websites")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${packaging_dir}/description)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALLOWBY_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TALLOWBY_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Websites are blocked through the hosts helper, which only pkexec may start for a user: without it
# one of the program's two kinds of rule does nothing, so it is a dependency, not a recommendation.
# SDL2_mixer is opened at the first alert sound, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pkexec, libsdl2-mixer-2.0-0")
# Removing the package takes its block of websites out of /etc/hosts. Maintainer scripts are
# installed 0755 whatever the checkout's modes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging_dir}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
