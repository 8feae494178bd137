# The two process pickers over fake windows and processes.
add_executable(ui_process_picker_tests ${TALLOWBY_QT_TEST_MAIN} process_picker_test.cpp)
target_link_libraries(ui_process_picker_tests PRIVATE tallowby_ui_testsupport tallowby_desktop_entries)
gtest_discover_tests(ui_process_picker_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 60)

# Not a test: shows a picker listing real programs on the display, for the screenshots in docs/
# (shoot_pickers.sh).
add_executable(picker_gallery picker_gallery.cpp)
target_link_libraries(picker_gallery PRIVATE tallowby_ui tallowby_platform_x11)
target_compile_definitions(picker_gallery PRIVATE TALLOWBY_TESTWIN_PATH="$<TARGET_FILE:testwin>")
add_dependencies(picker_gallery testwin)

# The session picker over real programs on a private X display.
add_executable(ui_process_picker_x11_tests ${TALLOWBY_QT_TEST_MAIN} process_picker_x11_test.cpp)
target_link_libraries(ui_process_picker_x11_tests PRIVATE tallowby_ui_testsupport tallowby_platform_x11
  tallowby_desktop_entries tallowby_xsession_testsupport)
gtest_discover_tests(ui_process_picker_x11_tests DISCOVERY_TIMEOUT 30
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
