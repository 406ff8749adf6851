# Install layout: the component folder holds the two libraries and the console
# tool the component runs beside itself; hosts reach it through the header, a
# pkg-config file or find_package(TkAMAssetInt).
include(CMakePackageConfigHelpers)

set(TKAM_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/TkAMAssetInt")
file(RELATIVE_PATH tkam_bin_to_component "/${CMAKE_INSTALL_BINDIR}" "/${TKAM_COMPONENT_DIR}")
set_target_properties(TkAMAssetInt TkConnectBase sqlconsole PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(amasset PROPERTIES INSTALL_RPATH "$ORIGIN/${tkam_bin_to_component}")

install(TARGETS TkAMAssetInt TkConnectBase EXPORT TkAMAssetIntTargets
        LIBRARY DESTINATION ${TKAM_COMPONENT_DIR})
install(TARGETS sqlconsole RUNTIME DESTINATION ${TKAM_COMPONENT_DIR})
install(TARGETS amasset RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY db/ DESTINATION ${TKAM_DB_INSTALL_DIR})
# The Python module where Debian's python3 looks for the system's modules
# (under another prefix: PYTHONPATH=<prefix>/lib/python3/dist-packages).
install(FILES python/tkam.py DESTINATION lib/python3/dist-packages)
# beside db/: the older module's demo data that "accountset create --older-module-demo" loads
install(DIRECTORY examples/older_module DESTINATION ${CMAKE_INSTALL_DATADIR}/tkamasset/examples)

install(EXPORT TkAMAssetIntTargets NAMESPACE TkAMAssetInt:: DESTINATION ${TKAM_CMAKE_DIR})
configure_package_config_file(cmake/TkAMAssetIntConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TkAMAssetIntConfig.cmake INSTALL_DESTINATION ${TKAM_CMAKE_DIR}
  PATH_VARS TKAM_DB_INSTALL_DIR TKAM_COMPONENT_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TkAMAssetIntConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TkAMAssetIntConfig.cmake
              ${CMAKE_BINARY_DIR}/TkAMAssetIntConfigVersion.cmake DESTINATION ${TKAM_CMAKE_DIR})

# The pkg-config file finds its prefix from its own place, so the tree can move.
file(RELATIVE_PATH TKAM_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" TKAM_PC_TO_PREFIX "${TKAM_PC_TO_PREFIX}")
configure_file(cmake/TkAMAssetInt.pc.in ${CMAKE_BINARY_DIR}/TkAMAssetInt.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/TkAMAssetInt.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(CPACK_PACKAGE_NAME tkamasset)
set(CPACK_PACKAGE_VENDOR "TkAMAsset")
set(CPACK_PACKAGE_CONTACT "TkAMAsset developers <tkamasset@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "固定资产管理组件 TkAMAssetInt, with the amasset tool")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_STRIP_FILES ON)
# Library dependencies (libpq5, libreadline8, libstdc++6 …) come from dpkg-shlibdeps;
# the server and its Oracle compatibility are what the embedded server runs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "postgresql-15, postgresql-15-orafce")
include(CPack)
