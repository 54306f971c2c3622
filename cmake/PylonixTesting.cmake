include(GoogleTest)

# pylonix_add_test(NAME SOURCES file... LIBS lib... [GUI | FONTS])
# One GoogleTest executable per area. GUI suites get a QApplication (offscreen)
# from the shared main, FONTS suites a QGuiApplication (texts are measured, no
# widgets shown); the others use GoogleTest's own main.
function(pylonix_add_test name)
  cmake_parse_arguments(ARG "GUI;FONTS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE pylonix_test_qtmain Qt6::Test ${ARG_LIBS})
  elseif(ARG_FONTS)
    target_link_libraries(${name} PRIVATE pylonix_test_guimain ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main ${ARG_LIBS})
  endif()
  target_link_libraries(${name} PRIVATE GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    PYLONIX_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    LABELS ${name})
endfunction()
