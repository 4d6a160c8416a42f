# The Debian package (`cpack -G DEB` in a build folder): the library, its
# headers, CMake package and pkg-config file, the two programs with the
# gallery's sample tree, a desktop entry and icon for the tree editor, and
# the Python module when it is built.
if(OVK_BUILD_DEMO)
  install(TARGETS ovk-gallery ovk-paratree-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/sample_tree DESTINATION ${CMAKE_INSTALL_DATADIR}/ovk_wxtools)
  install(FILES ${PROJECT_SOURCE_DIR}/demo/paratree_editor/ovk-paratree-editor.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/demo/paratree_editor/ovk-paratree-editor.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
endif()

set(CPACK_PACKAGE_NAME ovk-wxtools)
set(CPACK_PACKAGE_VENDOR "ovk_wxtools developers")
set(CPACK_PACKAGE_CONTACT "ovk_wxtools developers <ovk-wxtools@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ready-made wxWidgets GUI pieces for lab, test-bench and machine tools")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# The run-time libraries come from dpkg-shlibdeps; the headers need the
# development packages of what they include.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_CURRENT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libwxgtk3.2-dev, nlohmann-json3-dev, libspdlog-dev, libserialport-dev, libsqlite3-dev")
# The CMake package and the pkg-config file ask for libmosquitto when the library links it.
if(OVK_MQTT)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libmosquitto-dev")
endif()
# The Python module (lib/python3/dist-packages/ovk_wxtools) works with the system's wxPython.
if(OVK_BUILD_PYTHON)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", python3 (>= 3.11), python3-wxgtk4.0")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
