# The testing kit: component `testing` of the package (ovk_wxtools::testing),
# a small library of its own that ties to no test framework. Its GoogleTest
# glue is a header. GTK is used directly to answer the native file choosers.
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
file(GLOB_RECURSE OVK_TESTING_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/wxtools/testing/*.cpp)
# Headers in detail/ are the kit's own and are not installed.
file(GLOB OVK_TESTING_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/wxtools/testing/*.h)

add_library(ovk_wxtools_testing STATIC ${OVK_TESTING_SOURCES})
add_library(ovk_wxtools::testing ALIAS ovk_wxtools_testing)
set_target_properties(ovk_wxtools_testing PROPERTIES EXPORT_NAME testing POSITION_INDEPENDENT_CODE ON)
target_link_libraries(ovk_wxtools_testing PUBLIC ovk_wxtools PRIVATE PkgConfig::GTK3)
target_compile_options(ovk_wxtools_testing PRIVATE -Wall -Wextra)
target_compile_definitions(ovk_wxtools_testing PRIVATE wxNO_IMPLICIT_WXSTRING_ENCODING)

install(FILES ${OVK_TESTING_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ovk_wxtools/wxtools/testing)
install(TARGETS ovk_wxtools_testing EXPORT ovk_wxtoolsTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/ovk_wxtools_testing.pc.in
  ${CMAKE_CURRENT_BINARY_DIR}/ovk_wxtools_testing.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ovk_wxtools_testing.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
