# End-to-end tests: the real program in a real window under Xvfb, driven with
# xdotool as a user would drive it. Each scenario starts its own X server.
find_package(X11 REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

add_executable(tarnwick_e2e_helper ${CMAKE_CURRENT_LIST_DIR}/E2eHelper.cpp)
target_include_directories(tarnwick_e2e_helper SYSTEM PRIVATE ${X11_INCLUDE_DIR})
target_link_libraries(tarnwick_e2e_helper PRIVATE tarnwick_test_support SDL2::SDL2
                      ${SDL2_IMAGE_LIBRARY} ${X11_LIBRARIES})

add_test(NAME tarnwick_without_display
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/without_display.sh $<TARGET_FILE:tarnwick>)

set(TARNWICK_E2E_SCENARIOS full_run invalid_archive close_during_extraction)
foreach(scenario IN LISTS TARNWICK_E2E_SCENARIOS)
  add_test(NAME e2e_${scenario}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/e2e.py ${scenario}
                   --program $<TARGET_FILE:tarnwick>
                   --cli $<TARGET_FILE:tarnwick-cli>
                   --helper $<TARGET_FILE:tarnwick_e2e_helper>)
  # One X server and one program at a time: they share two cores with the build.
  set_tests_properties(e2e_${scenario} PROPERTIES RUN_SERIAL TRUE TIMEOUT 240 LABELS e2e)
endforeach()
