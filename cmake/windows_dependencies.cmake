# The third-party libraries of the Windows build, compiled with the cross
# compiler from Debian's own sources, never from anywhere else:
#   TinyXML from `apt-get source tinyxml` (the version of the Linux build's
#   libtinyxml-dev), built like Debian builds it, with TIXML_USE_STL;
#   GoogleTest from /usr/src/googletest (Debian's googletest package).
# TinyXML gets the name that pkg-config gives it on Linux, so every target
# links PkgConfig::TINYXML on both platforms.

set(TINYXML_SOURCE_DIR "" CACHE PATH "Unpacked Debian source of tinyxml (apt-get source tinyxml)")
if(NOT EXISTS "${TINYXML_SOURCE_DIR}/tinyxml.h")
  message(FATAL_ERROR "TINYXML_SOURCE_DIR must name the unpacked Debian source of tinyxml; "
                      "scripts/windows_build.sh fetches it")
endif()
# Debian's library holds these three; tinystr is left out because TIXML_USE_STL
# makes the library's string class std::string.
add_library(tinyxml STATIC
  ${TINYXML_SOURCE_DIR}/tinyxml.cpp
  ${TINYXML_SOURCE_DIR}/tinyxmlerror.cpp
  ${TINYXML_SOURCE_DIR}/tinyxmlparser.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_SOURCE_DIR})
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
