# The installer's portable part: the script reader and the rules that need no operating system,
# built for the host and for Windows, with its tests in the portable test programs.
add_library(setup_portable STATIC
    ${CMAKE_CURRENT_LIST_DIR}/InstallScript.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SetupFormat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SetupTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UninstallLog.cpp
)
target_include_directories(setup_portable PUBLIC ${CMAKE_SOURCE_DIR})
list(APPEND PORTABLE_TESTS
    tests/native/InstallScriptTest.cpp
    tests/native/SetupFormatTest.cpp
    tests/native/UninstallLogTest.cpp
)
list(APPEND PORTABLE_TESTS tests/native/MediumScriptTest.cpp)
# The medium's script is read where it lies in the source tree.
set_source_files_properties(tests/native/MediumScriptTest.cpp PROPERTIES
    COMPILE_DEFINITIONS SORTARO_MEDIUM_DIR="${CMAKE_SOURCE_DIR}/medium")
