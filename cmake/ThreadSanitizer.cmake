# The tests of what runs on several threads, for a ThreadSanitizer build (FOLVANE_TSAN): the
# PDF engine's pipeline tests (tests/pdfw/pipeline_test.cpp). The libraries are configured as
# usual; build just these targets (scripts/test.sh: --target tsan_tests). ThreadSanitizer
# cannot share a build with AddressSanitizer, and the rest of the program runs on one thread.
add_subdirectory(tests/support)
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
add_custom_target(tsan_tests)
foreach(stem pipeline_test)
  add_executable(tsan_pdfw_${stem} tests/pdfw/${stem}.cpp)
  target_include_directories(tsan_pdfw_${stem} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(tsan_pdfw_${stem} PRIVATE folvane_pdfw folvane_test_support
                        GTest::gtest GTest::gtest_main)
  gtest_discover_tests(tsan_pdfw_${stem} PROPERTIES LABELS tsan DISCOVERY_TIMEOUT 120)
  add_dependencies(tsan_tests tsan_pdfw_${stem})
endforeach()
