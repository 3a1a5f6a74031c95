include(GoogleTest)
find_package(GTest REQUIRED)

# A GoogleTest executable on the core library. Fixtures live beside the tests.
function(qm_add_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillmere_test_support quillmere_core GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QM_FIXTURE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    QM_PROGRAM_DIR="${QM_PROGRAM_DIR}")
  qm_warnings(${name})
  # Tests build beside each other, not into the program directory.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Qt Test executable for a window; runs headless.
function(qm_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillmere_gui quillmere_test_support quillmere_core Qt6::Test Qt6::Widgets)
  target_compile_definitions(${name} PRIVATE
    QM_FIXTURE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
    QM_PROGRAM_DIR="${QM_PROGRAM_DIR}")
  qm_warnings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
