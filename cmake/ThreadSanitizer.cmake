# The tests of what runs on several threads, for a ThreadSanitizer build (FOLVANE_TSAN): the
# PDF engine's pipeline, directly and through the page loop. The libraries are configured as
# usual; build just these targets (scripts/test.sh: --target tsan_tests). ThreadSanitizer
# cannot share a build with AddressSanitizer, and the rest of the program runs on one thread.
add_subdirectory(tests/support)
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
add_custom_target(tsan_tests)
foreach(test pdfw/pipeline_test:folvane_pdfw pdf/pipeline_test:folvane_pdf)
  string(REPLACE ":" ";" parts ${test})
  list(GET parts 0 source)
  list(GET parts 1 library)
  string(REPLACE "/" "_" target tsan_${source})
  add_executable(${target} tests/${source}.cpp)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${library} folvane_test_support GTest::gtest
                        GTest::gtest_main)
  gtest_discover_tests(${target} PROPERTIES LABELS tsan DISCOVERY_TIMEOUT 120)
  add_dependencies(tsan_tests ${target})
endforeach()
