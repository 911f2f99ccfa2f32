# The installable CMake package: find_package(Zem) gives the Zem:: targets,
# zem_add_tester, zem_add_viewer and zem_add_script_test.
include(CMakePackageConfigHelpers)

set(ZEM_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zem)
set(ZEM_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/zem)

install(EXPORT ZemTargets NAMESPACE Zem:: DESTINATION ${ZEM_CMAKE_INSTALL_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZemConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ZemConfig.cmake
  INSTALL_DESTINATION ${ZEM_CMAKE_INSTALL_DIR}
  PATH_VARS ZEM_DATA_INSTALL_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZemConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZemConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/ZemConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/ZemFunctions.cmake
              ${CMAKE_CURRENT_LIST_DIR}/ZemScriptTest.cmake
        DESTINATION ${ZEM_CMAKE_INSTALL_DIR})
