# The archive reader: its portable library, the command-line lister, the tests and the fuzz
# target. Included by the top-level CMakeLists.txt for the host and the Windows builds.

set(ARCHIVE_SOURCES
    catalogue/archive/ArcTypes.cpp
    catalogue/archive/ArcText.cpp
    catalogue/archive/ArcCommon.cpp
    catalogue/archive/PeStrings.cpp
    catalogue/archive/RegisterArcReader.cpp
    catalogue/archive/ArcReader.cpp
    catalogue/archive/ArcReaderFormats.cpp
    catalogue/archive/ArcReaderExtended.cpp
    catalogue/archive/ArcList.cpp
)
# The one platform file: Win32 files, drive types and code pages, or stdio natively.
if(WIN32)
    set(ARCHIVE_PLATFORM_SOURCE catalogue/archive/ArcFileWin.cpp)
else()
    set(ARCHIVE_PLATFORM_SOURCE catalogue/archive/ArcFilePosix.cpp)
endif()
set(ARCHIVE_TESTS
    tests/native/ArcTypesTest.cpp
    tests/native/ArcDetectTest.cpp
    tests/native/ArcWalkTest.cpp
    tests/native/ArcSamplesTest.cpp
    tests/native/ArcListTest.cpp
    tests/native/ArcRegressionTest.cpp
)

add_library(sortaro_archive STATIC ${ARCHIVE_SOURCES} ${ARCHIVE_PLATFORM_SOURCE})
target_include_directories(sortaro_archive PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(sortaro_portable PUBLIC sortaro_archive)

add_executable(sortaro-arclist catalogue/archive/ArcListMain.cpp)
target_link_libraries(sortaro-arclist PRIVATE sortaro_archive)
if(WIN32)
    target_link_options(sortaro-arclist PRIVATE -municode)
endif()

# Archives made by the real archivers when the tests start, and the third-party samples that
# live beside the repository when they are there (the tests skip them otherwise).
set(ARCHIVE_SAMPLES_DIR ${CMAKE_BINARY_DIR}/archive-samples)
get_filename_component(fixtures_beside ${CMAKE_SOURCE_DIR}/../shared/fixtures/archives ABSOLUTE)
set(SORTARO_ARCHIVE_FIXTURES ${fixtures_beside}
    CACHE PATH "Third-party sample archives for the archive reader's tests")
# Dates of Unix-time formats are shown in local time: the tests run in UTC.
set(ARCHIVE_TEST_ENV TZ=UTC0)
set(ARCHIVE_TEST_DEFINITIONS SORTARO_ARCHIVE_SAMPLES="${ARCHIVE_SAMPLES_DIR}"
                             SORTARO_ARCHIVE_FIXTURES="${SORTARO_ARCHIVE_FIXTURES}"
                             SORTARO_ARCHIVE_REGRESSIONS="${CMAKE_SOURCE_DIR}/tests/fuzz/regressions")
add_test(NAME archive_samples COMMAND bash ${CMAKE_SOURCE_DIR}/tests/archive/make-samples.sh ${ARCHIVE_SAMPLES_DIR})
set_tests_properties(archive_samples PROPERTIES FIXTURES_SETUP archive_samples TIMEOUT 120)

if(NOT WIN32)
    find_package(GTest REQUIRED CONFIG)
    include(GoogleTest)
    add_executable(archive_tests ${ARCHIVE_TESTS})
    target_link_libraries(archive_tests PRIVATE sortaro_archive GTest::gtest_main)
    target_compile_definitions(archive_tests PRIVATE ${ARCHIVE_TEST_DEFINITIONS})
    gtest_discover_tests(archive_tests PROPERTIES FIXTURES_REQUIRED archive_samples ENVIRONMENT "${ARCHIVE_TEST_ENV}"
                                                  SKIP_REGULAR_EXPRESSION "${GTEST_SKIPPED_LINE}")

    add_test(NAME arclist_matches_lsar
             COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/archive/compare-lsar.py $<TARGET_FILE:sortaro-arclist>
                     ${ARCHIVE_SAMPLES_DIR})
    set_tests_properties(arclist_matches_lsar PROPERTIES FIXTURES_REQUIRED archive_samples ENVIRONMENT TZ=UTC0
                                                         SKIP_RETURN_CODE 77)

    add_test(NAME arclist_exit_status
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/archive/arclist-status.sh $<TARGET_FILE:sortaro-arclist>
                     ${ARCHIVE_SAMPLES_DIR})
    set_tests_properties(arclist_exit_status PROPERTIES FIXTURES_REQUIRED archive_samples ENVIRONMENT TZ=UTC0
                                                        SKIP_RETURN_CODE 77)

    # libFuzzer target (clang only): cmake -DCMAKE_CXX_COMPILER=clang++ -DSORTARO_FUZZ=ON, or
    # tools/fuzz-archive.sh, which does that and runs it.
    option(SORTARO_FUZZ "Build the archive reader's libFuzzer target" OFF)
    if(SORTARO_FUZZ)
        add_executable(arc_reader_fuzz tests/fuzz/ArcReaderFuzz.cpp ${ARCHIVE_SOURCES} ${ARCHIVE_PLATFORM_SOURCE})
        target_include_directories(arc_reader_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
        target_compile_options(arc_reader_fuzz PRIVATE -g -O1 -fsanitize=fuzzer,address,undefined
                                                       -fno-sanitize-recover=undefined)
        target_link_options(arc_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    endif()
elseif(SORTARO_WITH_TESTS)
    find_package(GTest REQUIRED CONFIG)
    include(GoogleTest)
    add_executable(archive_tests_win ${ARCHIVE_TESTS})
    target_link_libraries(archive_tests_win PRIVATE sortaro_archive GTest::gtest_main)
    list(TRANSFORM ARCHIVE_TEST_DEFINITIONS REPLACE "^SORTARO_ARCHIVE_FIXTURES=.*" "SORTARO_ARCHIVE_FIXTURES=\"S:\"")
    target_compile_definitions(archive_tests_win PRIVATE ${ARCHIVE_TEST_DEFINITIONS})
    # The third-party samples reach the Windows process through a drive letter of their own
    # (S:), mapped in the prefix: a short path whatever folder the repository lies in, where a
    # deep one through Z: could pass the 260 characters that Windows paths are held to.
    add_test(NAME archive_fixtures_drive
             COMMAND ln -sfn ${SORTARO_ARCHIVE_FIXTURES} ${CMAKE_BINARY_DIR}/wineprefix/dosdevices/s:)
    # Both belong to what the tests under Wine need (the fixture "wine"): the discovered tests
    # below can name one fixture only, since gtest_discover_tests splits a list of them.
    set_tests_properties(archive_fixtures_drive PROPERTIES FIXTURES_SETUP wine DEPENDS wine_start)
    set_property(TEST archive_samples APPEND PROPERTY FIXTURES_SETUP wine)
    # One entry per test, as natively, so that a test skipped under Wine shows as skipped.
    set_target_properties(archive_tests_win PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    gtest_discover_tests(archive_tests_win DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${ARCHIVE_TEST_ENV}" TIMEOUT 120
                                    SKIP_REGULAR_EXPRESSION "${GTEST_SKIPPED_LINE}")
endif()
