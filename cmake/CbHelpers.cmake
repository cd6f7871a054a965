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

# cb_test(<folder> [NO_QT] SOURCES... [LINK libs...])
#   One test program per library, labelled with the folder's name, run
#   headless. Tests find fixtures through CB_TEST_DATA_DIR and the built
#   program's folder through CB_BIN_DIR. NO_QT: the library needs no Qt, and
#   its tests run without a QApplication.
function(cb_test name)
  cmake_parse_arguments(ARG "NO_QT" "" "SOURCES;LINK" ${ARGN})
  if(ARG_NO_QT)
    set(main ${PROJECT_SOURCE_DIR}/tests/common/test_main_plain.cpp)
  else()
    set(main ${PROJECT_SOURCE_DIR}/tests/common/test_main.cpp)
  endif()
  add_executable(test_${name} ${ARG_SOURCES} ${main} ${PROJECT_SOURCE_DIR}/tests/common/TestSupport.cpp)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_compile_options(test_${name} PRIVATE ${CB_WARNINGS})
  target_compile_definitions(test_${name} PRIVATE
    CB_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    CB_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CB_BIN_DIR="${CB_BIN_DIR}")
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(test_${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock)
  if(NOT ARG_NO_QT)
    target_link_libraries(test_${name} PRIVATE Qt6::Widgets Qt6::Test)
  endif()
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${name} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

include(GoogleTest)
