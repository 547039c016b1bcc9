# zq_subsystem(<target> PUBLIC_HEADERS <h>...)
# One object library per source folder; the shared library and the tests
# are linked from these objects, so a test links only what it exercises.
function(zq_subsystem target)
  cmake_parse_arguments(ARG "" "" "PUBLIC_HEADERS;DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} OBJECT ${sources})
  # Paths from the root reach every folder; tests/layering/check_layering.sh
  # is what keeps a subsystem from including the layers above it.
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${ZQ_PUBLIC_HEADER_DIRS})
  target_link_libraries(${target} PUBLIC PkgConfig::LOG4C ${ARG_DEPENDS})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # No process-wide object of the library is destroyed at exit or built at
    # load: hosts call the library from atexit handlers and the destructors
    # of their globals (CONTRIBUTING.md). The one destructor at exit, the
    # loggers' closing in api/LoggerManager.cpp, and the per-thread texts of
    # core/Logger.cpp are marked where they are declared. The fuzz build
    # compiles every subsystem with clang, so CI keeps the rule.
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-Werror=exit-time-destructors -Werror=global-constructors>)
  endif()
  foreach(h ${ARG_PUBLIC_HEADERS})
    set_property(GLOBAL APPEND PROPERTY ZQ_PUBLIC_HEADERS ${CMAKE_CURRENT_SOURCE_DIR}/${h})
  endforeach()
endfunction()
