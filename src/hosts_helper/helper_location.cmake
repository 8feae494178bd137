# Where the installed hosts helper lives, for its install rule and for the program that finds it
# relative to its own installed executable.
include(GNUInstallDirs)

set(TALLOWBY_HOSTS_HELPER_NAME tallowby-hosts)
set(TALLOWBY_HOSTS_HELPER_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tallowby)
set(TALLOWBY_HOSTS_HELPER_INSTALLED_PATH
    ${CMAKE_INSTALL_FULL_LIBEXECDIR}/tallowby/${TALLOWBY_HOSTS_HELPER_NAME})
