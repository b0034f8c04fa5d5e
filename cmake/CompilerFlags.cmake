# One set of compiler flags for every target the project builds: the core, the store, the
# command-line tool, the window libraries, the tests, the benchmarks and (through
# ZUOHAO_WARNING_FLAGS) the fuzz targets, which clang++ compiles by a custom command.
#
# Headers of GoogleTest, Google Benchmark and Qt come in as system headers (imported targets,
# a GoogleTest built from source is added as a SYSTEM subdirectory), so their warnings do
# not count. With ZUOHAO_WERROR (./test turns it on) every warning fails the build.
#
# ZUOHAO_SANITIZE builds everything instrumented, for example
#   -DZUOHAO_SANITIZE=address,undefined   or   -DZUOHAO_SANITIZE=thread
# Included by the top CMakeLists.txt, which calls zuohao_apply_compiler_flags() once every
# target exists. Accepted by g++ 12 (also the mingw-w64 cross compiler) and clang 14.

option(ZUOHAO_WERROR "Turn every warning into an error" OFF)
set(ZUOHAO_SANITIZE "" CACHE STRING
    "Sanitizers of an instrumented build (-fsanitize=...): address,undefined or thread")

set(ZUOHAO_WARNING_FLAGS
    -Wall
    -Wextra
    -Wpedantic
    -Wshadow
    -Wnon-virtual-dtor
    -Wold-style-cast
    -Woverloaded-virtual
    -Wundef
    -Wformat=2
    -Wpointer-arith
    -Wimplicit-fallthrough)
if(ZUOHAO_WERROR)
  list(APPEND ZUOHAO_WARNING_FLAGS -Werror)
endif()

set(ZUOHAO_SANITIZE_FLAGS)
if(ZUOHAO_SANITIZE)
  if(NOT ZUOHAO_SANITIZE MATCHES "^(address|undefined|thread|leak)(,(address|undefined|thread|leak))*$")
    message(FATAL_ERROR "ZUOHAO_SANITIZE: a comma-separated list of address, undefined, "
                        "thread and leak, not '${ZUOHAO_SANITIZE}'")
  endif()
  set(ZUOHAO_SANITIZE_FLAGS -fsanitize=${ZUOHAO_SANITIZE} -fno-omit-frame-pointer)
  if(ZUOHAO_SANITIZE MATCHES "undefined")
    # Undefined behaviour fails the test that meets it instead of only printing a line.
    list(APPEND ZUOHAO_SANITIZE_FLAGS -fno-sanitize-recover=undefined)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # The instrumentation makes g++ see "maybe uninitialized" values in the standard library
    # (std::function inside std::regex) that the plain build does not: the plain build keeps
    # the warning.
    list(APPEND ZUOHAO_WARNING_FLAGS -Wno-maybe-uninitialized)
  endif()
endif()

# The flags for one target of this project.
function(zuohao_compiler_flags target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${ZUOHAO_WARNING_FLAGS}>)
  if(ZUOHAO_SANITIZE_FLAGS)
    target_compile_options(${target} PRIVATE ${ZUOHAO_SANITIZE_FLAGS})
    get_target_property(type ${target} TYPE)
    if(type MATCHES "EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY")
      target_link_options(${target} PRIVATE ${ZUOHAO_SANITIZE_FLAGS})
      # What the sanitizers are told without any environment (leaks of system libraries).
      target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/SanitizerDefaults.cpp)
    endif()
  endif()
endfunction()

# The targets defined in `dir` and in its subdirectories inside the source tree (a GoogleTest
# built from /usr/src keeps its own flags).
function(zuohao_collect_targets dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${sub} NORMALIZE inside)
    if(inside)
      zuohao_collect_targets(${sub} more)
      list(APPEND found ${more})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Gives every compiled target of the project its flags; called once at the end of the top
# CMakeLists.txt, so a target added anywhere later in the tree is never left out.
function(zuohao_apply_compiler_flags)
  zuohao_collect_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type MATCHES "EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY")
      zuohao_compiler_flags(${target})
    endif()
  endforeach()
endfunction()
