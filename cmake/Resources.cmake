# The application's resources, laid out in the build tree as they are installed: the program is built as
# <build>/bin/quillo and its resources lie in <build>/share/quillo (a copy of resources/ and the licence
# texts of the libraries of cmake/Dependencies.cmake), so the program finds them beside itself in both.
#
# Acknowledgements: share/quillo/acknowledgements/ holds one "<shown name>.txt" per library, the copyright
# file its first Debian package installs, unchanged; the static texts of resources/acknowledgements/
# (for data that no Debian package brings) beside them; and Acknowledgements.plist, the entries in the
# order to show: the libraries in the list's order, then the static texts by name. Each entry is a
# dictionary of "name" and "packages" (the Debian packages, none for a static text).
set(QUILLO_RESOURCE_DIR "${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_DATADIR}/quillo")
set(resource_source "${PROJECT_SOURCE_DIR}/resources")

file(GLOB_RECURSE resource_files CONFIGURE_DEPENDS RELATIVE "${resource_source}" "${resource_source}/*")
set(resource_outputs)
foreach(file IN LISTS resource_files)
  add_custom_command(OUTPUT "${QUILLO_RESOURCE_DIR}/${file}"
                     COMMAND "${CMAKE_COMMAND}" -E copy "${resource_source}/${file}" "${QUILLO_RESOURCE_DIR}/${file}"
                     DEPENDS "${resource_source}/${file}"
                     COMMENT "Copying resource ${file}" VERBATIM)
  list(APPEND resource_outputs "${QUILLO_RESOURCE_DIR}/${file}")
endforeach()

set(index "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n")
set(shown_names)
get_property(libraries GLOBAL PROPERTY QUILLO_LIBRARIES)
foreach(id IN LISTS libraries)
  get_property(name GLOBAL PROPERTY QUILLO_LIBRARY_${id}_NAME)
  get_property(packages GLOBAL PROPERTY QUILLO_LIBRARY_${id}_PACKAGES)
  list(GET packages 0 package)
  set(copyright "/usr/share/doc/${package}/copyright")
  if(NOT EXISTS "${copyright}")
    message(FATAL_ERROR "The licence of ${name} is the copyright file of the Debian package ${package}, and "
                        "${copyright} is missing: install the package (scripts/install-dependencies.sh).")
  endif()
  set(output "${QUILLO_RESOURCE_DIR}/acknowledgements/${name}.txt")
  add_custom_command(OUTPUT "${output}"
                     COMMAND "${CMAKE_COMMAND}" -E copy "${copyright}" "${output}"
                     DEPENDS "${copyright}"
                     COMMENT "Taking the licence of ${name} from ${copyright}" VERBATIM)
  list(APPEND resource_outputs "${output}")
  list(APPEND shown_names "${name}")
  string(APPEND index "\t<dict>\n\t\t<key>name</key>\n\t\t<string>${name}</string>\n\t\t<key>packages</key>\n"
                      "\t\t<array>\n")
  foreach(package IN LISTS packages)
    string(APPEND index "\t\t\t<string>${package}</string>\n")
  endforeach()
  string(APPEND index "\t\t</array>\n\t</dict>\n")
endforeach()

file(GLOB static_acknowledgements CONFIGURE_DEPENDS "${resource_source}/acknowledgements/*.txt")
list(SORT static_acknowledgements)
foreach(file IN LISTS static_acknowledgements)
  get_filename_component(name "${file}" NAME_WLE)
  if(name IN_LIST shown_names)
    message(FATAL_ERROR "resources/acknowledgements/${name}.txt has the name of a library in cmake/Dependencies.cmake.")
  endif()
  if(name MATCHES "[<>&;]")
    message(FATAL_ERROR "resources/acknowledgements/${name}.txt: a shown name holds no < > & or ;.")
  endif()
  string(APPEND index "\t<dict>\n\t\t<key>name</key>\n\t\t<string>${name}</string>\n\t\t<key>packages</key>\n"
                      "\t\t<array/>\n\t</dict>\n")
endforeach()
string(APPEND index "</array>\n</plist>\n")
set(index_file "${QUILLO_RESOURCE_DIR}/acknowledgements/Acknowledgements.plist")
file(CONFIGURE OUTPUT "${index_file}" CONTENT "${index}" @ONLY)
list(APPEND resource_outputs "${index_file}")

# Files the build put here earlier that are no resource any more would be found, and installed, as if they
# were.
file(GLOB_RECURSE assembled LIST_DIRECTORIES false "${QUILLO_RESOURCE_DIR}/*")
foreach(file IN LISTS assembled)
  if(NOT file IN_LIST resource_outputs)
    file(REMOVE "${file}")
  endif()
endforeach()

add_custom_target(quillo_resources ALL DEPENDS ${resource_outputs})

if(TARGET quillo)
  set_target_properties(quillo PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_BINDIR}")
  add_dependencies(quillo quillo_resources)
  install(TARGETS quillo RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)
endif()
install(DIRECTORY "${QUILLO_RESOURCE_DIR}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/quillo" COMPONENT resources)
