# Installation layout and the Debian package (CPack). Included by the top CMakeLists.txt.
include(GNUInstallDirs)

set(ZUOHAO_PACKAGE_DIR ${CMAKE_CURRENT_LIST_DIR})
if(TARGET zuohao)
  install(TARGETS zuohao RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS zuohao-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT WIN32)
  install(FILES ${ZUOHAO_PACKAGE_DIR}/zuohao.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ZUOHAO_PACKAGE_DIR}/io.github.zuohao.zuohao.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${ZUOHAO_PACKAGE_DIR}/zuohao.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/src/gui/app/resources/help.html
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME zuohao)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zuohao developers <zuohao@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "做号计划 - number making and plan tool for minute lotteries")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the recent draws current from the draw file an auto-betting program writes, reduces the number space to a base set, runs a plan and monitors it with an alarm.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_FILE_NAME "zuohao_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from dpkg-shlibdeps; the Qt platform plugins and a
# Chinese font are loaded at run time and named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "at-spi2-core")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
