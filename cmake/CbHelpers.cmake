# cb_library(<folder> SOURCES... [LINK libs...])
#   A static library cb_<folder> whose include root is the repository root,
#   so headers are included as "platform/rtl/IniFile.h".
function(cb_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(cb_${name} STATIC ${ARG_SOURCES})
  target_include_directories(cb_${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_compile_options(cb_${name} PRIVATE ${CB_WARNINGS})
  target_link_libraries(cb_${name} PUBLIC ${ARG_LINK})
endfunction()

# cb_test(<folder> SOURCES... [LINK libs...])
#   One test program per library, labelled with the folder's name, run
#   headless. Tests find fixtures through CB_TEST_DATA_DIR and the built
#   program's folder through CB_BIN_DIR.
function(cb_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_executable(test_${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/test_main.cpp ${PROJECT_SOURCE_DIR}/tests/common/TestSupport.cpp)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_compile_options(test_${name} PRIVATE ${CB_WARNINGS})
  target_compile_definitions(test_${name} PRIVATE
    CB_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    CB_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CB_BIN_DIR="${CB_BIN_DIR}")
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(test_${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock Qt6::Widgets Qt6::Test)
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${name} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

include(GoogleTest)
