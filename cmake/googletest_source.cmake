# GoogleTest for the cross builds (Windows, ARM), compiled with the cross
# compiler from /usr/src/googletest (Debian's googletest package) into the
# build folder, never from anywhere else: the host's libgtest is for the host.
# TinyXML comes from cmake/tinyxml.cmake, as on every platform.

if(LAUNCHER_TESTS)
  set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
  if(NOT EXISTS "${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${GOOGLETEST_SOURCE_DIR}; install Debian's googletest")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
