# One helper per kind of target, so that each folder's CMakeLists.txt is one call.

# zlm_core_library(NAME DIR [LINKS ...]): a static library of every .cpp directly
# in DIR except main.cpp. Core code is standard C++ only.
function(zlm_core_library name dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# zlm_qt_library(NAME DIR [LINKS ...]): a static Qt library of every .cpp in DIR
# except main.cpp, with moc, uic and rcc switched on.
function(zlm_qt_library name dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h" "${dir}/*.ui" "${dir}/*.qrc")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# zlm_program(NAME SOURCE [LINKS ...]): an installed executable, a thin main()
# over the folder's library.
function(zlm_program name source)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# zlm_gtest_dir(NAME [LINKS ...]): one GoogleTest executable of every .cpp in the
# calling folder (not its subfolders), each test registered with CTest.
function(zlm_gtest_dir name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} zlm_test_support GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE ZLM_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()

# zlm_qttest_dir([LINKS ...]): one QtTest executable per .cpp in the calling
# folder, named after the file, run offscreen by CTest.
function(zlm_qttest_dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(src ${sources})
    get_filename_component(test ${src} NAME_WE)
    add_executable(${test} ${src})
    set_target_properties(${test} PROPERTIES AUTOMOC ON)
    target_link_libraries(${test} PRIVATE ${ARG_LINKS} zlm_test_support Qt6::Test Qt6::Widgets)
    target_compile_definitions(${test} PRIVATE ZLM_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    add_test(NAME ${test} COMMAND ${test})
    set_tests_properties(${test} PROPERTIES TIMEOUT 600
      # Settings go to a folder of the test's own, never to the user's.
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${test}-settings")
  endforeach()
endfunction()
