# What `cmake --install` puts where a Linux desktop expects it, and the Debian package
# `cpack -G DEB` makes of it.
include(GNUInstallDirs)

set(TARNWICK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TARNWICK_STAGING_DIR ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS tarnwick-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Man pages carry the version and are compressed, as Debian's policy asks.
set(man_pages tarnwick-cli)
if(TARGET tarnwick)
  list(APPEND man_pages tarnwick)
endif()
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed_man_pages)
foreach(page IN LISTS man_pages)
  configure_file(${TARNWICK_PACKAGING_DIR}/${page}.1 ${TARNWICK_STAGING_DIR}/${page}.1 @ONLY)
  add_custom_command(
    OUTPUT ${TARNWICK_STAGING_DIR}/${page}.1.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${TARNWICK_STAGING_DIR}/${page}.1
    DEPENDS ${TARNWICK_STAGING_DIR}/${page}.1
    COMMENT "Compressing the man page ${page}.1"
    VERBATIM)
  list(APPEND compressed_man_pages ${TARNWICK_STAGING_DIR}/${page}.1.gz)
endforeach()
add_custom_target(tarnwick_man_pages ALL DEPENDS ${compressed_man_pages})
install(FILES ${compressed_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET tarnwick)
  install(TARGETS tarnwick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TARNWICK_PACKAGING_DIR}/tarnwick.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TARNWICK_PACKAGING_DIR}/tarnwick.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

  # The desktop icons are drawn at each size from the same outline as the window icon,
  # by the tool that draws that icon, rather than scaled from its pixels.
  if(NOT TARGET make_icon)  # tools/ defines it when the artwork tools are built
    find_package(PNG REQUIRED)
    find_package(Freetype REQUIRED)
    add_executable(make_icon ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp)
    target_link_libraries(make_icon PRIVATE PNG::PNG Freetype::Freetype)
  endif()
  set(icons)
  foreach(size 16 32 48 64 128 256)
    set(icon ${TARNWICK_STAGING_DIR}/icons/${size}x${size}/tarnwick.png)
    add_custom_command(
      OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWICK_STAGING_DIR}/icons/${size}x${size}
      COMMAND make_icon ${icon} ${size}
      DEPENDS make_icon
      COMMENT "Drawing the ${size}x${size} desktop icon"
      VERBATIM)
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(tarnwick_icons ALL DEPENDS ${icons})
endif()

set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <tarnwick@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unpack the resource archives of CLAW and GRUNTZ")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwick unpacks the resource archives (.REZ, .VRZ, .SRZ) of Monolith's games CLAW and\n\
GRUNTZ: it recreates an archive's folder tree on disk and turns the games' PID pictures\n\
into PNG files. It comes as a desktop wizard (tarnwick) and a scriptable companion\n\
(tarnwick-cli).")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages are found by dpkg-shlibdeps (dpkg-dev) from the executables.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, shared-mime-info, desktop-file-utils")
include(CPack)

if(TARNWICK_TESTS)
  add_test(NAME InstalledTree
           COMMAND ${PROJECT_SOURCE_DIR}/tests/packaging/installed_tree_test.sh
                   ${PROJECT_BINARY_DIR} $<IF:$<TARGET_EXISTS:tarnwick>,ON,OFF>)
endif()
