include(GoogleTest)

# lotwise_add_test(<name> [CORE] SOURCES <files...> LIBS <targets...>)
# One test executable; its GoogleTest cases are registered with CTest one by
# one. Widget tests run on Qt's offscreen platform (see tests/support); CORE
# tests get a QCoreApplication and no widgets at all.
function(lotwise_add_test name)
  cmake_parse_arguments(ARG "CORE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_CORE)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} lotwise_test_main_core)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} lotwise_test_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
