# Installs the package Vornak with the libraries it stands on, its headers, a
# CMake package (find_package(Vornak) gives Vornak::Vornak) and a pkg-config
# file (pkg-config --cflags --libs vornak), so a host program builds against it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VK_INSTALL_INCLUDE ${CMAKE_INSTALL_INCLUDEDIR}/vornak)
set(VK_INSTALL_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/Vornak)

install(TARGETS vkclasses vkvisual vkdb vkengine Vornak EXPORT VornakTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY platform/ DESTINATION ${VK_INSTALL_INCLUDE} FILES_MATCHING PATTERN "*.h")
install(DIRECTORY engine/ DESTINATION ${VK_INSTALL_INCLUDE}/engine FILES_MATCHING PATTERN "*.h")
install(DIRECTORY designer/ DESTINATION ${VK_INSTALL_INCLUDE}/designer FILES_MATCHING PATTERN "*.h")
install(EXPORT VornakTargets NAMESPACE Vornak:: DESTINATION ${VK_INSTALL_CMAKE})

configure_package_config_file(cmake/VornakConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/VornakConfig.cmake
  INSTALL_DESTINATION ${VK_INSTALL_CMAKE})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VornakConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VornakConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/VornakConfigVersion.cmake
  DESTINATION ${VK_INSTALL_CMAKE})

configure_file(cmake/vornak.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vornak.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vornak.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
