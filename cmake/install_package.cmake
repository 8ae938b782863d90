# `cmake --install` and the package that find_package(Tarvolen) reads: the
# libraries tarvolen::xpath, tarvolen::runtime and tarvolen::platform, and only
# the headers a user includes (xpath/xpath.hpp, the heap's two, the platform's
# API and, over the simulator, its controls). The engine's public header takes TinyXML nodes, and the engine is
# compiled against the project's own patched TinyXML in a chosen STL mode, so
# the package ships that very build as tarvolen::tinyxml, in folders of its
# own so that it never replaces a system TinyXML under the same prefix.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(tarvolen_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tarvolen)

install(TARGETS tarvolen_platform tarvolen_runtime tarvolen_xpath EXPORT TarvolenTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tinyxml EXPORT TarvolenTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}/tarvolen)
install(EXPORT TarvolenTargets NAMESPACE tarvolen:: DESTINATION ${tarvolen_package_dir})

install(FILES xpath/include/xpath/xpath.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/xpath)
install(FILES runtime/include/runtime/private_heap.hpp runtime/include/runtime/heap_allocator.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/runtime)
install(FILES platform/include/windows_ce.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform)
if(WIN32)
  install(FILES platform/include/win32/windows_ce_win32.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform/win32)
else()
  install(FILES platform/include/simulator/windows_ce_api.hpp platform/include/simulator/device_simulator.hpp
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/platform/simulator)
endif()
install(FILES ${tinyxml_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvolen/tinyxml)

configure_package_config_file(cmake/TarvolenConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TarvolenConfig.cmake INSTALL_DESTINATION ${tarvolen_package_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TarvolenConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TarvolenConfig.cmake ${CMAKE_BINARY_DIR}/TarvolenConfigVersion.cmake
  DESTINATION ${tarvolen_package_dir})
