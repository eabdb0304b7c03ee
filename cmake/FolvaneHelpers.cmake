# Build helpers shared by every folder. Sources are picked up by pattern, so adding a file to a
# folder needs no edit here; a folder without sources yet becomes an interface library, so the
# targets that link it still configure.
#
# Every library sees its own folder and the public headers of the libraries it links, nothing
# else: an include of another library's internals does not compile. Both views are folders of
# links in the build tree (<build>/include/<target>/{public,private}), so include lines keep
# their "folder/Header.h" form. Tests, benchmarks and fuzz targets see the whole tree.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
add_custom_target(folvane_executables)

# folvane_linked_view(OUT dir PATHS path...): a fresh folder `dir` holding a link to each
# source path (a file or a folder, relative to the source root) at the same relative place.
function(folvane_linked_view)
  cmake_parse_arguments(ARG "" "OUT" "PATHS" ${ARGN})
  file(REMOVE_RECURSE ${ARG_OUT})
  file(MAKE_DIRECTORY ${ARG_OUT})
  foreach(path ${ARG_PATHS})
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${path})
      message(FATAL_ERROR "${path}: listed as visible but not in the source tree")
    endif()
    get_filename_component(parent ${ARG_OUT}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${ARG_OUT}/${path} SYMBOLIC)
  endforeach()
endfunction()

# The folders of DIRS that no other folder of DIRS contains (image, not also image/codecs).
function(folvane_top_dirs out)
  set(tops "")
  foreach(dir ${ARGN})
    set(nested FALSE)
    foreach(other ${ARGN})
      string(FIND "${dir}" "${other}/" at)
      if(at EQUAL 0)
        set(nested TRUE)
      endif()
    endforeach()
    if(NOT nested)
      list(APPEND tops ${dir})
    endif()
  endforeach()
  set(${out} ${tops} PARENT_SCOPE)
endfunction()

# folvane_private_includes(TARGET DIRS dir...): the target's own sources see these folders.
function(folvane_private_includes target)
  cmake_parse_arguments(ARG "" "" "DIRS" ${ARGN})
  folvane_top_dirs(tops ${ARG_DIRS})
  set(view ${PROJECT_BINARY_DIR}/include/${target}/private)
  folvane_linked_view(OUT ${view} PATHS ${tops})
  target_include_directories(${target} PRIVATE ${view})
endfunction()

# folvane_library(NAME DIRS dir... [PUBLIC_HEADERS header...] [PUBLIC_LIBS lib...]
#                 [PRIVATE_LIBS lib...])
# PUBLIC_HEADERS (paths from the source root) are all that the library's users see; without
# the list they see its whole folders.
function(folvane_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;PUBLIC_HEADERS;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  set(sources "")
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  set(public ${ARG_PUBLIC_HEADERS})
  if(NOT public)
    folvane_top_dirs(public ${ARG_DIRS})
  endif()
  set(view ${PROJECT_BINARY_DIR}/include/${name}/public)
  folvane_linked_view(OUT ${view} PATHS ${public})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} INTERFACE ${view})
    folvane_private_includes(${name} DIRS ${ARG_DIRS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${view})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS} ${ARG_PRIVATE_LIBS})
  endif()
endfunction()

# folvane_module(NAME FILE file SOURCES source... DIRS dir... LIBS lib... LOADER lib DEFINE macro):
# a module the programs load on first use (base/ProgramModule.h), built as lib/folvane/FILE
# beside the programs' bin folder and installed there, exporting only its entry (hidden
# visibility). LOADER, the library that loads it, gets DEFINE_NAME (the file's name) and
# DEFINE_INSTALLED (its installed path), and has the module built whenever it is.
function(folvane_module name)
  cmake_parse_arguments(ARG "" "FILE;LOADER;DEFINE" "SOURCES;DIRS;LIBS" ${ARGN})
  set(dir lib/folvane)
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX "" OUTPUT_NAME ${ARG_FILE}
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/${dir}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  folvane_private_includes(${name} DIRS ${ARG_DIRS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT FOLVANE_FUZZ)
    # A symbol missing at link time rather than at the first call. (clang's sanitizer runtime
    # lives in the program, so the fuzz build's modules must leave those open.)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  install(TARGETS ${name} LIBRARY DESTINATION ${dir})
  target_compile_definitions(${ARG_LOADER} PRIVATE ${ARG_DEFINE}_NAME="${ARG_FILE}"
    ${ARG_DEFINE}_INSTALLED="${CMAKE_INSTALL_PREFIX}/${dir}/${ARG_FILE}")
  add_dependencies(${ARG_LOADER} ${name})
endfunction()

# folvane_executable(NAME DIR dir LIBS lib...): one program from the .cpp files of one folder.
function(folvane_executable name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  folvane_private_includes(${name} DIRS ${ARG_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(folvane_executables ${name})
endfunction()

# folvane_test(SOURCE [SERIAL] LABEL label LIBS lib... [ENVIRONMENT var=value...]): one GoogleTest
# program from one *_test.cpp, linked with the test support library and registered with CTest
# under the label (SERIAL: CTest runs its tests alone). Tests find the built programs in
# FOLVANE_BIN_DIR.
function(folvane_test source)
  cmake_parse_arguments(ARG "SERIAL" "LABEL" "LIBS;ENVIRONMENT" ${ARGN})
  get_filename_component(stem ${source} NAME_WE)
  set(target test_${ARG_LABEL}_${stem})
  add_executable(${target} ${source})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} folvane_test_support
                        GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE
    FOLVANE_BIN_DIR="${PROJECT_BINARY_DIR}/bin"
    FOLVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(${target} folvane_executables)
  # Under the sanitizers a test program's own code (GoogleTest's assertions, mostly) takes
  # four times as long to compile optimised as not, and its running time is spent in the
  # libraries it tests, which stay optimised.
  if(FOLVANE_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
  set(properties LABELS ${ARG_LABEL})
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  if(ARG_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${properties}
    DISCOVERY_TIMEOUT 120)
endfunction()

# folvane_test_folder(DIR dir LIBS lib... [ENVIRONMENT var=value...]): every dir/*_test.cpp
# becomes one test program (folvane_test, labelled after the folder); the folder's other .cpp
# files are helpers of its own, linked into each of them.
function(folvane_test_folder)
  cmake_parse_arguments(ARG "" "DIR" "LIBS;ENVIRONMENT" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  list(REMOVE_ITEM helpers ${tests} "")
  string(REPLACE "/" "_" prefix "${ARG_DIR}")
  set(libs ${ARG_LIBS})
  if(helpers)
    add_library(test_helpers_${prefix} STATIC ${helpers})
    target_include_directories(test_helpers_${prefix} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(test_helpers_${prefix} PUBLIC ${ARG_LIBS} folvane_test_support
                          GTest::gtest GTest::gmock)
    list(PREPEND libs test_helpers_${prefix})
  endif()
  foreach(test ${tests})
    folvane_test(${test} LABEL ${prefix} LIBS ${libs} ENVIRONMENT ${ARG_ENVIRONMENT})
  endforeach()
endfunction()
