# The manual pages zuohao.1 and zuohao-cli.1, made from the programs' own help text by
# man-page.sh, and the bash completion of zuohao-cli, written by zuohao-cli --bash-completion;
# both at build time (target zuohao-manuals, part of the default build) and installed by the
# Debian package. A build for another system (Windows) makes neither: its programs do not
# run here.
if(CMAKE_CROSSCOMPILING)
  return()
endif()

set(ZUOHAO_MANUALS_DIR ${CMAKE_BINARY_DIR}/manuals)
file(MAKE_DIRECTORY ${ZUOHAO_MANUALS_DIR})
set(completion ${ZUOHAO_MANUALS_DIR}/zuohao-cli.bash-completion)
add_custom_command(
  OUTPUT ${completion}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:zuohao-cli> -DARGUMENT=--bash-completion
          -DOUTPUT=${completion} -P ${CMAKE_CURRENT_LIST_DIR}/WriteOutput.cmake
  DEPENDS zuohao-cli ${CMAKE_CURRENT_LIST_DIR}/WriteOutput.cmake
  COMMENT "bash completion of zuohao-cli" VERBATIM)
install(FILES ${completion} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME zuohao-cli)
set(outputs ${completion})

# zuohao_manual(target "what it is" help-option)
function(zuohao_manual target what help)
  set(page ${ZUOHAO_MANUALS_DIR}/${target}.1.gz)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/man-page.sh $<TARGET_FILE:${target}> ${help}
            ${what} ${page}
    DEPENDS ${target} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/man-page.sh
    COMMENT "manual page ${target}.1" VERBATIM)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(outputs ${outputs} ${page} PARENT_SCOPE)
endfunction()
zuohao_manual(zuohao-cli "command-line tool of zuohao, the number-making and plan tool" --help-all)
if(TARGET zuohao)
  zuohao_manual(zuohao "desktop number-making and plan tool for minute lotteries" --help)
endif()

add_custom_target(zuohao-manuals ALL DEPENDS ${outputs})
