# Shared compile settings and the helpers every folder uses to declare its targets and tests.

add_library(kx_options INTERFACE)
target_compile_options(kx_options INTERFACE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
target_include_directories(kx_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(kx_options INTERFACE
  KX_SOURCE_RESOURCE_DIR="${PROJECT_SOURCE_DIR}/resources/"
  KX_SOURCE_LIBRARY_DIR="${PROJECT_SOURCE_DIR}/library/")

if(KX_SANITIZE)
  set(_kx_san -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(kx_options INTERFACE ${_kx_san})
  target_link_options(kx_options INTERFACE ${_kx_san})
endif()

# Where tests keep their files: never the user's own configuration.
set(KX_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
file(MAKE_DIRECTORY ${KX_TEST_HOME})

# kx_add_test(<name> SOURCES ... LIBS ...): one GoogleTest binary, its cases registered with CTest.
function(kx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KX_BUILD_TESTS OR NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE kx_options ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "KESTRA_SS_HOME=${KX_TEST_HOME};ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# kx_embed_resources(<target> <module-name> <folder>): builds every dialog template, bitmap, icon,
# menu and toolbar file under <folder> into <target> and registers them under <module-name> at load
# time.
function(kx_embed_resources target module folder)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${folder}
       ${folder}/dialogs/*.dlg ${folder}/bitmaps/* ${folder}/icons/* ${folder}/menus/*
       ${folder}/toolbars/*)
  list(SORT files)
  set(absolute "")
  foreach(f IN LISTS files)
    list(APPEND absolute ${folder}/${f})
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DMODULE=${module} -DROOT=${folder} "-DFILES=${files}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${absolute} ${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding ${module} resources"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
