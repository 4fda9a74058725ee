# Helpers shared by every folder's CMakeLists.txt.

if(WIN32)
  # Windows test programs run through Wine, with a prefix kept in the build
  # tree (created once, reused) and a keep-alive process holding the Wine
  # desktop open for the whole test session.
  set(QM_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_SOURCE_DIR}/scripts/wine-run;--dir;${QM_WINE_DIR};--keepalive;${CMAKE_BINARY_DIR}/wine_keepalive.exe)
endif()

macro(qm_setup_gtest)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_executable(wine_keepalive ${CMAKE_SOURCE_DIR}/cmake/wine_keepalive.c)
    set_target_properties(wine_keepalive PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endmacro()

# qm_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI])
# One GoogleTest program, its cases discovered at test time (through Wine in
# the Windows build). GUI marks tests that open windows: they take the
# "gui" label and the "display" lock, so that no two of them share the X
# display at once (focus, typed keys and clicks would cross).
function(qm_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WIN32)
    target_compile_definitions(${name} PRIVATE QM_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data" QM_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
  else()
    target_compile_definitions(${name} PRIVATE QM_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data" QM_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
  if(WIN32)
    add_dependencies(${name} wine_keepalive)
  endif()
  set(properties LABELS unit TIMEOUT 300)
  if(T_GUI)
    set(properties LABELS gui TIMEOUT 300 RESOURCE_LOCK display)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 180
    PROPERTIES ${properties})
endfunction()
