# What the programs and their packages say about the product, in one place: its names, and the
# copyright line of LICENSE (the Debian copyright file, the Windows version blocks and the
# installer take it from here). Included by the top CMakeLists.txt after project().
set(ZUOHAO_PRODUCT_NAME_ZH "做号计划")
set(ZUOHAO_PRODUCT_NAME_EN "Zuohao Plan")

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright_line REGEX "^Copyright \\(c\\) " LIMIT_COUNT 1)
if(NOT copyright_line MATCHES "^Copyright \\(c\\) ([0-9, -]+ (.+))$")
  message(FATAL_ERROR "LICENSE: no line \"Copyright (c) <years> <holder>\"")
endif()
# "2026 zuohao developers" and its holder.
set(ZUOHAO_COPYRIGHT "${CMAKE_MATCH_1}")
set(ZUOHAO_COPYRIGHT_HOLDER "${CMAKE_MATCH_2}")
unset(copyright_line)
