# Tests of the desktop program's layers; they run without a display (recording
# engine, SDL's offscreen driver) except the end-to-end ones under Xvfb.
file(GLOB_RECURSE GUI_TEST_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/text/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/gcnWidgets/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp)
if(GUI_TEST_SOURCES)
  add_executable(tarnwick_gui_tests ${GUI_TEST_SOURCES})
  target_link_libraries(tarnwick_gui_tests PRIVATE tarnwick_gui tarnwick_test_support
                        GTest::gtest_main)
  gtest_discover_tests(tarnwick_gui_tests DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/e2e/e2e.cmake)
