# Creates the sandbox's system folder: a hosts file (only when missing) and an autostart folder.
# Run as: cmake -DSYSTEM_DIR=<folder> -P make_sandbox_system.cmake
if(NOT SYSTEM_DIR)
  message(FATAL_ERROR "SYSTEM_DIR is not set")
endif()

file(MAKE_DIRECTORY "${SYSTEM_DIR}/autostart")
if(NOT EXISTS "${SYSTEM_DIR}/hosts")
  file(WRITE "${SYSTEM_DIR}/hosts"
    "# Sandbox hosts file of Tallowby\n"
    "127.0.0.1\tlocalhost\n"
    "::1\tlocalhost ip6-localhost ip6-loopback\n")
endif()
