# `cmake --install` and the package that find_package(Tarvolen) reads: the
# libraries tarvolen::xpath, tarvolen::runtime and tarvolen::platform, and only
# the headers a user includes (xpath/xpath.hpp, the heap's two, the platform's
# API). The engine's public header takes TinyXML nodes, so the package brings
# the very TinyXML the engine was compiled against: the project's own build
# when the project compiles it, otherwise the system library it found, which
# the package finds again the same way (pkg-config).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(tarvolen_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvolen)
set(tarvolen_installed_targets tarvolen_platform tarvolen_runtime tarvolen_xpath)

set(tinyxml_is_imported ON)
if(TARGET tinyxml)
  get_target_property(tinyxml_is_imported tinyxml IMPORTED)
endif()
if(NOT tinyxml_is_imported)
  set(TARVOLEN_SHIPS_TINYXML ON)
  set_target_properties(tinyxml PROPERTIES EXPORT_NAME tinyxml)
  list(APPEND tarvolen_installed_targets tinyxml)
  install(FILES ${tinyxml_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
else()
  set(TARVOLEN_SHIPS_TINYXML OFF)
endif()

install(TARGETS ${tarvolen_installed_targets} EXPORT TarvolenTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT TarvolenTargets NAMESPACE tarvolen:: DESTINATION ${tarvolen_package_dir})

install(FILES xpath/xpath.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/xpath)
install(FILES runtime/private_heap.hpp runtime/heap_allocator.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/runtime)
install(FILES platform/windows_ce.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform)
if(WIN32)
  install(FILES platform/win32/windows_ce_win32.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform/win32)
else()
  install(FILES platform/simulator/windows_ce_api.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform/simulator)
endif()

configure_package_config_file(cmake/TarvolenConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TarvolenConfig.cmake INSTALL_DESTINATION ${tarvolen_package_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TarvolenConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TarvolenConfig.cmake ${CMAKE_BINARY_DIR}/TarvolenConfigVersion.cmake
  DESTINATION ${tarvolen_package_dir})
