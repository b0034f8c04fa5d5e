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
  install(FILES ${ZUOHAO_PACKAGE_DIR}/debian/zuohao.doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
          RENAME zuohao)
  # A stripped install (the package) also drops the .comment and .note sections, as Debian's
  # dh_strip does.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program zuohao zuohao-cli)
        set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
        if(EXISTS \"\${file}\")
          execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                  --remove-section=.note \"\${file}\")
        endif()
      endforeach()
    endif()")
endif()

# The manual pages and the bash completion (made at build time).
include(${ZUOHAO_PACKAGE_DIR}/Manuals.cmake)

# Who maintains the package: its Maintainer field and the copyright file's contact.
set(ZUOHAO_MAINTAINER "zuohao developers <zuohao@users.noreply.github.com>"
    CACHE STRING "The package maintainer, as Name <address>")

# The changelog goes with the version: a version without its entry on top does not configure.
file(STRINGS ${ZUOHAO_PACKAGE_DIR}/debian/changelog changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
if(NOT changelog_top MATCHES "^zuohao \\(${version_pattern}\\) ")
  message(FATAL_ERROR "scripts/package/debian/changelog: no entry for ${PROJECT_VERSION} on top")
endif()

# /usr/share/doc/zuohao: the copyright file (machine-readable, the licence text from
# LICENSE) and the changelog, compressed as Debian wants it.
if(NOT WIN32)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(REGEX REPLACE "\n+$" "" licence "${licence}")
  string(REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " ZUOHAO_LICENSE_TEXT " ${licence}")
  set(package_docs ${CMAKE_BINARY_DIR}/package-docs)
  configure_file(${ZUOHAO_PACKAGE_DIR}/debian/copyright.in ${package_docs}/copyright @ONLY)
  configure_file(${ZUOHAO_PACKAGE_DIR}/debian/changelog ${package_docs}/changelog COPYONLY)
  execute_process(COMMAND gzip -9nf ${package_docs}/changelog RESULT_VARIABLE gzip_failed)
  if(gzip_failed)
    message(FATAL_ERROR "gzip of the changelog failed")
  endif()
  install(FILES ${package_docs}/copyright ${package_docs}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME zuohao)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZUOHAO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "做号计划 - number making and plan tool for minute lotteries")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the recent draws current from the draw file an auto-betting program
writes, reduces the number space to a base set, runs a plan scored hit or miss
and monitors it with an alarm. zuohao is the desktop program, zuohao-cli does
the same work on the command line.")
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
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "at-spi2-core, qt6-translations-l10n")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
