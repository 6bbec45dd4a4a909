# Shared compile settings for the project's own targets.

add_library(plorix_warnings INTERFACE)
target_compile_options(plorix_warnings INTERFACE
  -Wall -Wextra -Werror -Wno-missing-field-initializers
  # GCC 12 reports impossible overlaps inside std::string at -O3, a known
  # false positive of that compiler that says nothing about our code.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)

add_library(plorix_sanitize INTERFACE)
if(PLORIX_SANITIZE)
  target_compile_options(plorix_sanitize INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(plorix_sanitize INTERFACE -fsanitize=address,undefined)
endif()

# plorix_module(NAME DEPS...): a static library from every .cpp of the
# current folder (and one level of sub-folders named in SUBDIRS).
function(plorix_module name)
  cmake_parse_arguments(M "" "" "DEPS;SUBDIRS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(sub IN LISTS M_SUBDIRS)
    file(GLOB subsources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp")
    list(APPEND sources ${subsources})
  endforeach()
  if(NOT sources)
    # A module that has only headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${M_DEPS} plorix_sanitize)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${M_DEPS} plorix_sanitize PRIVATE plorix_warnings)
endfunction()

# plorix_test(NAME DEPS... [LABELS ...] [PROPERTIES name value ...]
# [SERVER_SUFFIX suffix] [SERVED_RUN]): one GoogleTest program from every
# .cpp of the current folder, each test registered with CTest (with the
# given test properties). Tests whose names end in the SERVER_SUFFIX need the
# PostgreSQL cluster of the fixture "postgres". SERVED_RUN registers the
# other tests a second time, named "Served:...", labelled "served", with
# every data folder they make on that cluster (tests/support/served_run.h).
function(plorix_test name)
  cmake_parse_arguments(T "SERVED_RUN" "SERVER_SUFFIX" "DEPS;LABELS;PROPERTIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources)
    return()  # no tests written yet
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${T_DEPS} plorix_test_support GTest::gtest GTest::gmock GTest::gtest_main plorix_warnings plorix_sanitize)
  set(properties ENVIRONMENT "PLORIX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
  if(T_LABELS)
    list(APPEND properties LABELS "${T_LABELS}")
  endif()
  list(APPEND properties ${T_PROPERTIES})
  if(T_SERVER_SUFFIX)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "-*${T_SERVER_SUFFIX}"
      PROPERTIES ${properties})
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "*${T_SERVER_SUFFIX}"
      PROPERTIES ${properties} FIXTURES_REQUIRED postgres)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
  endif()
  if(T_SERVED_RUN)
    set(file_tests "*")
    if(T_SERVER_SUFFIX)
      set(file_tests "-*${T_SERVER_SUFFIX}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "${file_tests}" TEST_PREFIX "Served:"
      PROPERTIES ${properties} ENVIRONMENT_MODIFICATION "PLORIX_TEST_BACKEND=set:server"
      FIXTURES_REQUIRED postgres LABELS served)
  endif()
endfunction()
