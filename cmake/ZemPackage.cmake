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

# Man pages of the programs and of the tester you build.
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/ZemTester.1 ${PROJECT_SOURCE_DIR}/docs/man/ZemViewer.1
              ${PROJECT_SOURCE_DIR}/docs/man/zem2junit.1 ${PROJECT_SOURCE_DIR}/docs/man/zem2png.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The README and the examples it points to, where Debian keeps a package's
# documentation: a user of the package has the demo tester's sources and
# script at hand.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zem)
file(GLOB zem_recorded_clicks ${PROJECT_SOURCE_DIR}/examples/clicks*)
install(FILES ${PROJECT_SOURCE_DIR}/examples/functions.cpp ${PROJECT_SOURCE_DIR}/examples/demo.txt
              ${PROJECT_SOURCE_DIR}/examples/house.zdr ${zem_recorded_clicks}
              ${PROJECT_SOURCE_DIR}/examples/CMakeLists.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zem/examples)

# make package: one Debian package of everything installed above. The
# programs' shared libraries are found by dpkg-shlibdeps; building a tester
# on the package needs a compiler, CMake and the X and Motif headers.
if(PROJECT_IS_TOP_LEVEL)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME zem)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scripted test harness for compiled functions")
  set(CPACK_PACKAGE_DESCRIPTION "Zem runs test scripts against C++ functions linked into a tester \
program, writes a plain-text result file per script, and comes with ZemViewer, \
a Motif editor and runner for scripts, and zem2junit for CI servers.")
  set(CPACK_PACKAGE_CONTACT "Zem developers <zem@localhost>")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "g++, cmake (>= 3.16), libmotif-dev, libxt-dev, libx11-dev")
  include(CPack)
endif()
