# The desktop program and the libraries under it.
find_package(SDL2 REQUIRED)
find_library(SDL2_IMAGE_LIBRARY SDL2_image REQUIRED)
find_path(SDL2_IMAGE_INCLUDE_DIR SDL_image.h PATH_SUFFIXES SDL2 REQUIRED)
# guichan 0.8 ships no CMake or pkg-config file; only its core library is used.
find_library(GUICHAN_LIBRARY guichan REQUIRED)
find_path(GUICHAN_INCLUDE_DIR guichan.hpp REQUIRED)

# The files under resources/ are carried inside the executable: a build step
# turns them into byte arrays with a table found by name and type.
add_executable(tarnwick_embed_resources ${PROJECT_SOURCE_DIR}/tools/embed_resources.cpp)
file(GLOB EMBEDDED_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*.png
     ${PROJECT_SOURCE_DIR}/resources/*.fnt)
list(SORT EMBEDDED_RESOURCE_FILES)
set(EMBEDDED_RESOURCES_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/EmbeddedResources.cpp)
add_custom_command(
  OUTPUT ${EMBEDDED_RESOURCES_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
  COMMAND tarnwick_embed_resources ${EMBEDDED_RESOURCES_SOURCE} ${EMBEDDED_RESOURCE_FILES}
  DEPENDS tarnwick_embed_resources ${EMBEDDED_RESOURCE_FILES}
  COMMENT "Embedding the resources"
  VERBATIM)

tarnwick_sources(GUI_SOURCES platform text gcnWidgets app)
list(FILTER GUI_SOURCES EXCLUDE REGEX "/app/main\\.cpp$|/text/Windows1252\\.cpp$")
add_library(tarnwick_gui STATIC ${GUI_SOURCES} ${EMBEDDED_RESOURCES_SOURCE})
target_include_directories(tarnwick_gui SYSTEM PUBLIC ${GUICHAN_INCLUDE_DIR}
                           ${SDL2_IMAGE_INCLUDE_DIR})
target_link_libraries(tarnwick_gui PUBLIC tarnwick_core SDL2::SDL2 ${SDL2_IMAGE_LIBRARY}
                      ${GUICHAN_LIBRARY})

if(EXISTS ${PROJECT_SOURCE_DIR}/app/main.cpp)
  add_executable(tarnwick ${PROJECT_SOURCE_DIR}/app/main.cpp)
  target_link_libraries(tarnwick PRIVATE tarnwick_gui)
endif()
