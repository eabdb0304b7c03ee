# Build helpers shared by every folder. Sources are picked up by pattern, so adding a file to a
# folder needs no edit here; a folder without sources yet becomes an interface library, so the
# targets that link it still configure.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
add_custom_target(folvane_executables)

# folvane_library(NAME DIRS dir... [PUBLIC_LIBS lib...] [PRIVATE_LIBS lib...])
function(folvane_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  set(sources "")
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS} ${ARG_PRIVATE_LIBS})
  endif()
endfunction()

# folvane_executable(NAME DIR dir LIBS lib...): one program from the .cpp files of one folder.
function(folvane_executable name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(folvane_executables ${name})
endfunction()

# folvane_test_folder(DIR dir LIBS lib...): every dir/*_test.cpp becomes one GoogleTest
# executable registered with CTest; the folder's other .cpp files are shared helpers linked
# into each of them. Tests find the built programs in FOLVANE_BIN_DIR.
function(folvane_test_folder)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  list(REMOVE_ITEM helpers ${tests} "")
  string(REPLACE "/" "_" prefix "${ARG_DIR}")
  if(helpers)
    add_library(test_support_${prefix} STATIC ${helpers})
    target_include_directories(test_support_${prefix} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(test_support_${prefix} PUBLIC ${ARG_LIBS} GTest::gtest GTest::gmock)
    set(support test_support_${prefix})
  endif()
  foreach(test ${tests})
    get_filename_component(stem ${test} NAME_WE)
    set(target test_${prefix}_${stem})
    add_executable(${target} ${test})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${support} ${ARG_LIBS}
                          GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      FOLVANE_BIN_DIR="${PROJECT_BINARY_DIR}/bin"
      FOLVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_dependencies(${target} folvane_executables)
    gtest_discover_tests(${target}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES LABELS ${prefix}
      DISCOVERY_TIMEOUT 120)
  endforeach()
endfunction()
