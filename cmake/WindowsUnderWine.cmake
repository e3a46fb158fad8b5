# A Windows build made on Linux runs its programs under Wine (scripts/wine-run is CTest's emulator).
# What those programs need found, written where the build is configured: the Qt libraries and the
# MinGW runtime on Wine's path, Qt's plugins through a qt.conf beside the programs, and the forms'
# stand-in face where Qt's offscreen platform looks for faces (Wine brings no Windows faces).
get_filename_component(VELLMORE_QT_BIN "${QT_DIR}/../../../bin" ABSOLUTE)
get_filename_component(VELLMORE_QT_PLUGINS "${QT_DIR}/../../../plugins" ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name OUTPUT_VARIABLE libgcc
                OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(VELLMORE_MINGW_RUNTIME "${libgcc}" DIRECTORY)
# The compiler's target (i686-w64-mingw32) names the folder of the MinGW runtime (libwinpthread).
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine OUTPUT_VARIABLE VELLMORE_MINGW_TARGET
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(VELLMORE_MINGW_LIBRARIES /usr/${VELLMORE_MINGW_TARGET}/lib)

function(vellmore_wine_path out path)
    string(REPLACE "/" "\\" windows "${path}")
    set(${out} "Z:${windows}" PARENT_SCOPE)
endfunction()
vellmore_wine_path(qt_bin "${VELLMORE_QT_BIN}")
vellmore_wine_path(runtime "${VELLMORE_MINGW_RUNTIME}")
vellmore_wine_path(mingw "${VELLMORE_MINGW_LIBRARIES}")
file(WRITE ${PROJECT_BINARY_DIR}/wine-env.sh "export WINEPATH='${qt_bin};${runtime};${mingw}'\n")

file(GLOB faces /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf)
file(COPY ${faces} DESTINATION ${PROJECT_BINARY_DIR}/qt-libraries/fonts)
set(qt_conf "[Paths]\nPlugins = Z:${VELLMORE_QT_PLUGINS}\nLibraries = Z:${PROJECT_BINARY_DIR}/qt-libraries\n")
file(WRITE ${PROJECT_BINARY_DIR}/qt.conf "${qt_conf}")
file(WRITE ${PROJECT_BINARY_DIR}/tests/qt.conf "${qt_conf}")
file(WRITE ${PROJECT_BINARY_DIR}/tools/icons/qt.conf "${qt_conf}")
