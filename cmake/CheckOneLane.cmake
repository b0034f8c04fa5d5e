# Fails when window code runs work off the window's thread by any way but the one lane
# (gui/common/WorkLane, used through BackgroundWork): a QThread, a std::thread or std::jthread,
# QtConcurrent::run, std::async or a QThreadPool anywhere else under src/gui. Run by ctest
# (test gui_common_one_lane):
#   cmake -DGUI_DIR=<src/gui> -P CheckOneLane.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT GUI_DIR)
  message(FATAL_ERROR "usage: cmake -DGUI_DIR=... -P CheckOneLane.cmake")
endif()

set(lane_files common/WorkLane.h common/WorkLane.cpp)
set(pattern "(QThread|std::j?thread|QtConcurrent|std::async)")
set(faults "")
file(GLOB_RECURSE sources RELATIVE ${GUI_DIR} ${GUI_DIR}/*.h ${GUI_DIR}/*.cpp)
foreach(source ${sources})
  if(source IN_LIST lane_files)
    continue()
  endif()
  file(STRINGS ${GUI_DIR}/${source} hits REGEX "${pattern}")
  foreach(line ${hits})
    string(REGEX MATCH "${pattern}" what "${line}")
    string(APPEND faults "  src/gui/${source}: ${what}\n")
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Background work outside the one lane (use BackgroundWork or WorkLane):\n${faults}")
endif()
list(LENGTH sources count)
message(STATUS "src/gui: ${count} files, background work only through the one lane")
