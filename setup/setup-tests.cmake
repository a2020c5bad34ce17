# The installer's tests under Wine: its actions on scratch folders, and the wizard driven by
# messages. One process per test, one at a time (they share the prefix's registry).
add_executable(setup_wine_tests
    tests/wine/setup/SetupTestSupport.cpp
    tests/wine/setup/InstallActionsTest.cpp
    tests/wine/setup/UninstallTest.cpp
    tests/wine/setup/WizardTest.cpp
    ${SETUP_RC}
)
target_link_libraries(setup_wine_tests PRIVATE setup_app GTest::gtest)
target_link_options(setup_wine_tests PRIVATE -municode)
set_target_properties(setup_wine_tests PROPERTIES CROSSCOMPILING_EMULATOR ${WINE_RUN})
gtest_discover_tests(setup_wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_registry TIMEOUT 60
                                SKIP_REGULAR_EXPRESSION "${GTEST_SKIPPED_LINE}")

add_test(NAME end_to_end_install
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/install.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/medium)
set_tests_properties(end_to_end_install PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_registry TIMEOUT 180)
