# A small build of what runs on several threads, for ThreadSanitizer: the PDF engine and the
# tests that drive its workers (tests/pdfw/pipeline_test.cpp). It cannot share a build with
# AddressSanitizer, and the rest of the program runs on one thread.
add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
add_link_options(-fsanitize=thread)

add_subdirectory(ocr)
add_subdirectory(pdfw)
add_subdirectory(tests/support)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
foreach(stem pipeline_test)
  add_executable(tsan_pdfw_${stem} tests/pdfw/${stem}.cpp)
  target_include_directories(tsan_pdfw_${stem} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(tsan_pdfw_${stem} PRIVATE folvane_pdfw folvane_test_support
                        GTest::gtest GTest::gtest_main)
  gtest_discover_tests(tsan_pdfw_${stem} PROPERTIES LABELS tsan DISCOVERY_TIMEOUT 120)
endforeach()
