# Windows resources of the programs: a version block made from the project version, the
# application manifest and, for the desktop program, the icon drawn in
# scripts/package/zuohao.svg (made into a multi-size .ico with ImageMagick at build time);
# also the product facts the installer is made with. Names and copyright come from
# cmake/Product.cmake, the version from the project.
set(ZUOHAO_PUBLISHER "${ZUOHAO_COPYRIGHT_HOLDER}")
set(ZUOHAO_COPYRIGHT_ZH "版权所有 © ${ZUOHAO_COPYRIGHT}")
set(ZUOHAO_COPYRIGHT_EN "Copyright © ${ZUOHAO_COPYRIGHT}")
# Windows wants four numbers; the project version has two or three.
set(ZUOHAO_WIN_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(ZUOHAO_WIN_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(ZUOHAO_WIN_VERSION_PATCH 0)
if(PROJECT_VERSION_PATCH)
  set(ZUOHAO_WIN_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(ZUOHAO_WIN_VERSION
    "${ZUOHAO_WIN_VERSION_MAJOR}.${ZUOHAO_WIN_VERSION_MINOR}.${ZUOHAO_WIN_VERSION_PATCH}.0")
# The oldest Windows the programs run on, that of the Qt they are built with (Qt 6.4: Windows
# 10 1809, build 17763): the installer warns below it and README-zh.txt must name it.
set(ZUOHAO_OLDEST_WINDOWS "Windows 10 1809")
set(ZUOHAO_OLDEST_WINDOWS_BUILD 17763)
set(ZUOHAO_ICON_SVG ${PROJECT_SOURCE_DIR}/scripts/package/zuohao.svg)
# The sizes Windows picks from: title bar and lists (16–32), desktop and Explorer (48–256).
set(ZUOHAO_ICON_SIZES 256,128,64,48,32,24,16)

# zuohao_windows_resources(<target> MANIFEST <file.in> DESCRIPTION_ZH <text>
#                          DESCRIPTION_EN <text> [ICON])
function(zuohao_windows_resources target)
  cmake_parse_arguments(ARG "ICON" "MANIFEST;DESCRIPTION_ZH;DESCRIPTION_EN" "" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources)
  set(ZUOHAO_RC_FILE_NAME "${target}.exe")
  set(ZUOHAO_RC_INTERNAL_NAME "${target}")
  set(ZUOHAO_RC_DESCRIPTION_ZH "${ARG_DESCRIPTION_ZH}")
  set(ZUOHAO_RC_DESCRIPTION_EN "${ARG_DESCRIPTION_EN}")
  set(ZUOHAO_RC_MANIFEST "${out}.manifest")
  set(ZUOHAO_RC_ICON "")
  configure_file(${ARG_MANIFEST} ${out}.manifest @ONLY)
  if(ARG_ICON)
    find_program(ZUOHAO_CONVERT convert REQUIRED DOC "ImageMagick, to make the program icon")
    set(ico ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
    add_custom_command(
      OUTPUT ${ico}
      COMMAND ${ZUOHAO_CONVERT} -background none -density 768 ${ZUOHAO_ICON_SVG}
              -define icon:auto-resize=${ZUOHAO_ICON_SIZES} ${ico}
      DEPENDS ${ZUOHAO_ICON_SVG}
      COMMENT "Drawing the program icon ${target}.ico"
      VERBATIM)
    # Qt gives its windows the icon named IDI_ICON1 when the program sets none.
    set(ZUOHAO_RC_ICON "IDI_ICON1 ICON \"${ico}\"")
    # The installer of the desktop program (scripts/windows/zuohao.nsi) takes its name,
    # version and icon from here.
    set(ZUOHAO_RC_ICON_FILE ${ico})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/product.nsh.in
                   ${PROJECT_BINARY_DIR}/zuohao-product.nsh @ONLY)
    set_source_files_properties(${out}.rc PROPERTIES OBJECT_DEPENDS "${ico};${out}.manifest")
  else()
    set_source_files_properties(${out}.rc PROPERTIES OBJECT_DEPENDS ${out}.manifest)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/resources.rc.in ${out}.rc @ONLY)
  target_sources(${target} PRIVATE ${out}.rc)
endfunction()
