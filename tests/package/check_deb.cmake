# Builds the Debian package with CPack and checks its file list.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND cpack -G DEB -B ${WORK_DIR} WORKING_DIRECTORY ${BUILD_DIR}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs ${WORK_DIR}/*.deb)
list(LENGTH debs n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one package, found: ${debs}")
endif()

execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE files RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-deb -f ${debs} Package Version Depends OUTPUT_VARIABLE fields)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${debs}")
endif()
set(expected
  "./usr/include/ovk_wxtools/wxtools/wxtools.h"
  "./usr/include/ovk_wxtools/platform/paratree/parameter_book.h"
  "./usr/lib/cmake/ovk_wxtools/ovk_wxtoolsConfig.cmake"
  "./usr/lib/cmake/ovk_wxtools/ovk_wxtoolsConfigVersion.cmake"
  "./usr/lib/cmake/ovk_wxtools/ovk_wxtoolsTargets.cmake"
  "./usr/lib/pkgconfig/ovk_wxtools.pc"
  "./usr/bin/ovk-gallery"
  "./usr/bin/ovk-paratree-editor"
  "./usr/share/ovk_wxtools/sample_tree/station.pbook"
  "./usr/share/applications/ovk-paratree-editor.desktop"
  "./usr/share/icons/hicolor/48x48/apps/ovk-paratree-editor.png")
if(SHARED)
  set(library_patterns "libovk_wxtools\\.so -> " "libovk_wxtools\\.so\\.[0-9]+\\.[0-9]+ -> "
      "libovk_wxtools\\.so\\.[0-9]+\\.[0-9]+\\.[0-9]+\n")
else()
  set(library_patterns "libovk_wxtools\\.a\n")
endif()
foreach(path ${expected})
  string(FIND "${files}" " ${path}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${path}:\n${files}")
  endif()
endforeach()
foreach(pattern ${library_patterns})
  if(NOT files MATCHES " \\./usr/lib/${pattern}")
    message(FATAL_ERROR "the package lacks the library file ${pattern}:\n${files}")
  endif()
endforeach()
if(NOT fields MATCHES "Package: ovk-wxtools" OR NOT fields MATCHES "Depends:.*libwxgtk3\\.2")
  message(FATAL_ERROR "unexpected control fields:\n${fields}")
endif()
if(PYTHON)
  # The module sits in the system's site directory and imports from the unpacked package alone.
  foreach(path "./usr/lib/python3/dist-packages/ovk_wxtools/__init__.py"
               "./usr/lib/python3/dist-packages/ovk_wxtools/_core.cpython")
    string(FIND "${files}" " ${path}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the package lacks ${path}:\n${files}")
    endif()
  endforeach()
  if(NOT fields MATCHES "Depends:.*python3-wxgtk4\\.0")
    message(FATAL_ERROR "the package does not depend on wxPython:\n${fields}")
  endif()
  execute_process(COMMAND dpkg-deb -x ${debs} ${WORK_DIR}/root RESULT_VARIABLE rc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env
      PYTHONPATH=${WORK_DIR}/root/usr/lib/python3/dist-packages LD_LIBRARY_PATH=${WORK_DIR}/root/usr/lib
      ${Python_EXECUTABLE} -c "import ovk_wxtools, sys; sys.exit(ovk_wxtools.__file__.find('/root/usr/lib/') < 0)"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the packaged Python module does not import:\n${out}")
  endif()
endif()
message(STATUS "${debs}:\n${fields}")
