# The tests of a Windows build, run under Wine: those of the floor, the store, the engine, the hosts
# writer and the Win32 platform. The rest need Qt, X11 or Linux itself and are not built here.
# Included from tests/CMakeLists.txt.

# No MinGW package of GoogleTest exists: Debian's sources (package libgtest-dev) are built with the
# cross compiler.
set(TALLOWBY_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Its own CMake files name the targets GTest::gtest, GTest::gtest_main and GTest::gmock.
add_subdirectory(${TALLOWBY_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)
# Listing the tests runs each program under Wine: done when ctest runs, not at every build.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

foreach(dir support os store engine windows)
  add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/${dir})
endforeach()
