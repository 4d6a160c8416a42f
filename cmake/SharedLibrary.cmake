# The shared build: a versioned SONAME (the ABI may change with every minor
# release before 1.0) and an export map that publishes the library's own
# namespaces only, so the template code it instantiates from wxWidgets, the
# standard library, spdlog and nlohmann::json stays private to it.
set_target_properties(ovk_wxtools PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(OVK_EXPORT_MAP ${CMAKE_CURRENT_LIST_DIR}/ovk_wxtools.map)
target_link_options(ovk_wxtools PRIVATE "LINKER:--version-script=${OVK_EXPORT_MAP}" "LINKER:--no-undefined")
set_property(TARGET ovk_wxtools APPEND PROPERTY LINK_DEPENDS ${OVK_EXPORT_MAP})
