# The third-party libraries of the Windows build, compiled with the cross
# compiler from Debian's own sources, never from anywhere else:
#   TinyXML from `apt-get source tinyxml` (the version of the Linux build's
#   libtinyxml-dev), by default without its STL mode (below);
#   GoogleTest from /usr/src/googletest (Debian's googletest package).
# TinyXML gets the name that pkg-config gives it on Linux, so every target
# links PkgConfig::TINYXML on both platforms.

set(TINYXML_SOURCE_DIR "" CACHE PATH "Unpacked Debian source of tinyxml (apt-get source tinyxml)")
if(NOT EXISTS "${TINYXML_SOURCE_DIR}/tinyxml.h")
  message(FATAL_ERROR "TINYXML_SOURCE_DIR must name the unpacked Debian source of tinyxml; "
                      "scripts/windows_build.sh fetches it")
endif()
# Without STL mode: TinyXML's STL mode brings in the C++ stream and locale
# library (most of launcher.exe's size), and the library's own string class
# serves as well. Debian's header forces the mode on, so the build compiles a
# copy of the sources whose header leaves it to TIXML_USE_STL; tinystr.cpp is
# then part of the library.
option(TINYXML_USE_STL "Build TinyXML in its STL mode (std::string and streams)" OFF)
set(tinyxml_copy ${CMAKE_BINARY_DIR}/third_party/tinyxml-build)
foreach(file tinystr.h tinyxml.cpp tinystr.cpp tinyxmlerror.cpp tinyxmlparser.cpp)
  configure_file(${TINYXML_SOURCE_DIR}/${file} ${tinyxml_copy}/${file} COPYONLY)
endforeach()
file(READ ${TINYXML_SOURCE_DIR}/tinyxml.h tinyxml_header)
string(REGEX REPLACE "#ifndef TIXML_USE_STL[ \t\r\n]+#define TIXML_USE_STL[ \t\r\n]+#endif" ""
  tinyxml_header_unforced "${tinyxml_header}")
if(tinyxml_header_unforced STREQUAL tinyxml_header)
  message(FATAL_ERROR "tinyxml.h in ${TINYXML_SOURCE_DIR} no longer holds the forced TIXML_USE_STL")
endif()
# Written through configure_file, so that an unchanged header keeps its time stamp.
file(WRITE ${CMAKE_BINARY_DIR}/CMakeFiles/tinyxml.h.unforced "${tinyxml_header_unforced}")
configure_file(${CMAKE_BINARY_DIR}/CMakeFiles/tinyxml.h.unforced ${tinyxml_copy}/tinyxml.h COPYONLY)
add_library(tinyxml STATIC
  ${tinyxml_copy}/tinyxml.cpp
  ${tinyxml_copy}/tinystr.cpp
  ${tinyxml_copy}/tinyxmlerror.cpp
  ${tinyxml_copy}/tinyxmlparser.cpp)
if(TINYXML_USE_STL)
  target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
endif()
target_include_directories(tinyxml SYSTEM PUBLIC ${tinyxml_copy})
target_compile_options(tinyxml PRIVATE -w)
add_library(PkgConfig::TINYXML ALIAS tinyxml)

if(LAUNCHER_TESTS)
  set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
  if(NOT EXISTS "${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${GOOGLETEST_SOURCE_DIR}; install Debian's googletest")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
