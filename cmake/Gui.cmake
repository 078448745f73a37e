# The desktop program and the libraries under it.
find_package(SDL2 REQUIRED)
find_library(SDL2_IMAGE_LIBRARY SDL2_image REQUIRED)
# guichan 0.8 ships no CMake or pkg-config file; only its core library is used.
find_library(GUICHAN_LIBRARY guichan REQUIRED)
find_path(GUICHAN_INCLUDE_DIR guichan.hpp REQUIRED)

tarnwick_sources(GUI_SOURCES platform text gcnWidgets app)
list(FILTER GUI_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
add_library(tarnwick_gui STATIC ${GUI_SOURCES})
target_include_directories(tarnwick_gui SYSTEM PUBLIC ${GUICHAN_INCLUDE_DIR})
target_link_libraries(tarnwick_gui PUBLIC tarnwick_core SDL2::SDL2 ${SDL2_IMAGE_LIBRARY}
                      ${GUICHAN_LIBRARY})

if(EXISTS ${PROJECT_SOURCE_DIR}/app/main.cpp)
  add_executable(tarnwick ${PROJECT_SOURCE_DIR}/app/main.cpp)
  target_link_libraries(tarnwick PRIVATE tarnwick_gui)
endif()
