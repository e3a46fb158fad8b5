# The Windows packages, made by CPack: a portable zip and an installer (NSIS). The programs go in
# the top folder with the libraries they import, found the way the system's loader finds them
# (CMake reads the imports with the MinGW objdump), and the Qt plugins they need by name.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${VELLMORE_MINGW_TARGET}-objdump)
install(TARGETS vellmore vellmore-cli obsim vellmore-demo RUNTIME_DEPENDENCY_SET vellmore_libraries RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt${QT_VERSION_MAJOR}::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt${QT_VERSION_MAJOR}::QWindowsVistaStylePlugin> DESTINATION styles)
# CMake looks a Windows program's imports up by their names in lower case, as Windows matches
# them; on Linux's file systems that finds "Qt5Core.dll" only under a lower-case name of its own.
set(libraries ${PROJECT_BINARY_DIR}/libraries)
file(MAKE_DIRECTORY ${libraries})
file(GLOB dlls ${VELLMORE_QT_BIN}/*.dll ${VELLMORE_MINGW_RUNTIME}/*.dll ${VELLMORE_MINGW_LIBRARIES}/*.dll)
foreach(dll IN LISTS dlls)
    get_filename_component(name ${dll} NAME)
    string(TOLOWER ${name} name)
    if(NOT EXISTS ${libraries}/${name})
        file(CREATE_LINK ${dll} ${libraries}/${name} COPY_ON_ERROR)
    endif()
endforeach()
install(RUNTIME_DEPENDENCY_SET vellmore_libraries DESTINATION .
        # Qt's and the MinGW runtime's libraries come along; the system's own stay where they are.
        PRE_INCLUDE_REGEXES "^qt[56]" "^lib" "^zlib"
        PRE_EXCLUDE_REGEXES ".*"
        DIRECTORIES ${libraries})
# The programs and every library stripped of every symbol they do not export: the MinGW runtime alone
# would otherwise take 23 MB.
set(CPACK_STRIP_FILES ON)
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        file(GLOB_RECURSE binaries \"\${CMAKE_INSTALL_PREFIX}/*.dll\" \"\${CMAKE_INSTALL_PREFIX}/*.exe\")
        foreach(binary IN LISTS binaries)
            execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \"\${binary}\")
        endforeach()
    endif()")
# README.txt in Windows' own line ends.
configure_file(data/windows/README.txt ${PROJECT_BINARY_DIR}/README.txt NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Vellmore)
set(CPACK_PACKAGE_VENDOR Vellmore)
set(CPACK_PACKAGE_FILE_NAME vellmore-${PROJECT_VERSION}-windows)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vellmore)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vellmore)
set(CPACK_NSIS_PACKAGE_NAME Vellmore)
set(CPACK_NSIS_DISPLAY_NAME Vellmore)
set(CPACK_NSIS_INSTALLED_ICON_NAME vellmore.exe)
# The installer and uninstaller wear the program's icon (drawn in tools/icons).
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/tools/icons/vellmore.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/tools/icons/vellmore.ico)
set(CPACK_NSIS_UNINSTALL_NAME uninstall)
# A 32-bit Unicode installer, as Vellmore itself is 32-bit: it runs on every Windows from 7 on.
set(CPACK_NSIS_EXECUTABLE ${PROJECT_SOURCE_DIR}/cmake/makensis-x86)
# Vellmore's own installer script (cmake/nsis): for the user alone by default, or for all users.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP NSIS)
include(CPack)
