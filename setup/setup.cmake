# setup.exe, the installer, and the installation medium staged from it. Links the shared Win32
# layer and its own portable part, nothing of the catalogue program.
add_library(setup_app STATIC
    setup/Backdrop.cpp
    setup/DestinationTree.cpp
    setup/InstallRecorder.cpp
    setup/InstallRegistration.cpp
    setup/Installer.cpp
    setup/SetupDialogs.cpp
    setup/SilentInstall.cpp
    setup/Uninstaller.cpp
    setup/Wizard.cpp
    setup/WizardPage.cpp
)
target_link_libraries(setup_app PUBLIC setup_portable sortaro_common uuid)

set(SETUP_RC ${CMAKE_SOURCE_DIR}/setup/Setup.rc)
resource_depends(${SETUP_RC})

add_executable(setup WIN32 setup/SetupMain.cpp ${SETUP_RC})
target_link_libraries(setup PRIVATE setup_app)
target_link_options(setup PRIVATE -municode)

# The installation medium in one folder of the build tree: both programs, the script, the
# licence texts and the Data folder.
set(MEDIUM_DIR ${CMAKE_BINARY_DIR}/medium)
set(MEDIUM_FILES
    ${CMAKE_SOURCE_DIR}/medium/Install.txt
    ${CMAKE_SOURCE_DIR}/medium/Vertrag.txt
    ${CMAKE_SOURCE_DIR}/medium/Vertrag_E.txt
)
add_custom_target(medium ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MEDIUM_DIR}/Data
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:setup> $<TARGET_FILE:Sortaro> ${MEDIUM_FILES}
            ${MEDIUM_DIR}
    DEPENDS setup Sortaro ${MEDIUM_FILES}
    COMMENT "Staging the installation medium in ${MEDIUM_DIR}"
    VERBATIM
)
