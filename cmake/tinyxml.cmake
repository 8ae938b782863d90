# TinyXML for every platform, compiled with the project's own flags (so the
# sanitizer and fuzz builds check its reads too) from Debian's source package,
# with the patches in third_party/tinyxml/ applied on top: target `tinyxml`.
#
# Configuring only looks for the source; it never fetches or installs
# anything. scripts/fetch_tinyxml_source.sh (which scripts/setup.sh runs)
# fetches it once into build-third-party/ of the checkout, where this file
# finds it; -DTINYXML_SOURCE_DIR names any other unpacked copy.
#
# The sources are copied into the build folder and patched there; a copy is
# only rewritten when its content changes, so a new configure does not
# rebuild the library.

set(TINYXML_SOURCE_DIR "" CACHE PATH "Unpacked Debian source of tinyxml (scripts/fetch_tinyxml_source.sh prints it)")
if(NOT EXISTS "${TINYXML_SOURCE_DIR}/tinyxml.h")
  file(GLOB fetched_folders LIST_DIRECTORIES true "${PROJECT_SOURCE_DIR}/build-third-party/tinyxml-*")
  list(SORT fetched_folders)
  set(fetched_folder "")
  if(fetched_folders)
    list(GET fetched_folders 0 fetched_folder)
  endif()
  if(NOT fetched_folder OR NOT EXISTS "${fetched_folder}/tinyxml.h")
    message(FATAL_ERROR "TinyXML's source is missing: TINYXML_SOURCE_DIR is '${TINYXML_SOURCE_DIR}' and "
                        "${PROJECT_SOURCE_DIR}/build-third-party holds none. Run scripts/setup.sh (it fetches the "
                        "source with scripts/fetch_tinyxml_source.sh, as root the first time), or configure with "
                        "-DTINYXML_SOURCE_DIR=<the folder that 'apt-get source tinyxml' unpacked>.")
  endif()
  set(TINYXML_SOURCE_DIR "${fetched_folder}" CACHE PATH "Unpacked Debian source of tinyxml" FORCE)
endif()

set(tinyxml_files tinyxml.h tinystr.h tinyxml.cpp tinystr.cpp tinyxmlerror.cpp tinyxmlparser.cpp)
file(GLOB tinyxml_patches ${PROJECT_SOURCE_DIR}/third_party/tinyxml/*.patch)
list(SORT tinyxml_patches)
set(tinyxml_staging ${CMAKE_BINARY_DIR}/tinyxml-staging)
set(tinyxml_patched ${CMAKE_BINARY_DIR}/tinyxml)

file(REMOVE_RECURSE ${tinyxml_staging})
file(MAKE_DIRECTORY ${tinyxml_staging})
foreach(name IN LISTS tinyxml_files)
  file(COPY ${TINYXML_SOURCE_DIR}/${name} DESTINATION ${tinyxml_staging})
endforeach()
foreach(patch_file IN LISTS tinyxml_patches)
  execute_process(
    COMMAND patch --batch --quiet --forward -p1 -i ${patch_file}
    WORKING_DIRECTORY ${tinyxml_staging}
    RESULT_VARIABLE patch_result)
  if(NOT patch_result EQUAL 0)
    message(FATAL_ERROR "${patch_file} does not apply to ${TINYXML_SOURCE_DIR}")
  endif()
endforeach()
# Debian's header forces STL mode on; the copy leaves it to TIXML_USE_STL
# (below), so that a build may go without it.
file(READ ${tinyxml_staging}/tinyxml.h tinyxml_header)
string(REGEX REPLACE "#ifndef TIXML_USE_STL[ \t\r\n]+#define TIXML_USE_STL[ \t\r\n]+#endif" ""
  tinyxml_header_unforced "${tinyxml_header}")
if(tinyxml_header_unforced STREQUAL tinyxml_header)
  message(FATAL_ERROR "tinyxml.h in ${TINYXML_SOURCE_DIR} no longer holds the forced TIXML_USE_STL")
endif()
file(WRITE ${tinyxml_staging}/tinyxml.h "${tinyxml_header_unforced}")
foreach(name IN LISTS tinyxml_files)
  configure_file(${tinyxml_staging}/${name} ${tinyxml_patched}/${name} COPYONLY)
endforeach()
file(REMOVE_RECURSE ${tinyxml_staging})
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tinyxml_patches})

# STL mode: on Linux as Debian builds it (std::string); on Windows off by
# default, since its C++ streams and locale library made up most of
# launcher.exe's size and the library's own string class serves as well.
# tinystr.cpp holds that class and is empty in STL mode.
if(WIN32)
  option(TINYXML_USE_STL "Build TinyXML in its STL mode (std::string and streams)" OFF)
else()
  option(TINYXML_USE_STL "Build TinyXML in its STL mode (std::string and streams)" ON)
endif()
add_library(tinyxml STATIC
  ${tinyxml_patched}/tinyxml.cpp
  ${tinyxml_patched}/tinystr.cpp
  ${tinyxml_patched}/tinyxmlerror.cpp
  ${tinyxml_patched}/tinyxmlparser.cpp)
if(TINYXML_USE_STL)
  target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
endif()
target_include_directories(tinyxml SYSTEM PUBLIC $<BUILD_INTERFACE:${tinyxml_patched}>
  $<INSTALL_INTERFACE:include/tarvolen/tinyxml>)
# The headers that an installed package ships beside the library (cmake/install_package.cmake).
set(tinyxml_public_headers ${tinyxml_patched}/tinyxml.h ${tinyxml_patched}/tinystr.h)
target_compile_options(tinyxml PRIVATE -w)
