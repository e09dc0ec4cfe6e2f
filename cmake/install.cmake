# What `cmake --install` puts where, the manual pages, and the Debian package.
#
#   bin/                               zrhost, zrcheck, zrdxf (RPATH $ORIGIN/../lib/zrconector)
#   lib/zrconector/                    the module, the settings component and the platform libraries
#                                      (private: no other program links them; RPATH $ORIGIN)
#   lib/zrconector/com-registry.d/     the COM registry (library paths relative to it)
#   share/zrconector/                  the JSON Schema of zrcheck's report
#   share/zrconector/examples/         the example drawing, scripts, settings and catalogue
#   share/man/man1/, man5/             the manual pages (written by hand, installed compressed)
#   share/bash-completion/completions/ completion for the three programs
#   share/doc/zrconector/              README, the catalogue guide, zrcheck's guide, copyright, changelog
#
# Nothing installed names the source or build tree: the programs find each
# other, the registry and the examples from where they are.

# The build tree has the same layout (the top CMakeLists.txt), so these are
# linked with their installed run paths and installed as built.
foreach(library zrcom zrdwg zrfx zrado zrui prmset zrconector)
  if(TARGET ${library})
    set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
    install(TARGETS ${library} LIBRARY DESTINATION ${ZR_PRIVATE_LIB_DIR})
  endif()
endforeach()
# The terminal front end installs itself there (platform/ui/terminal).
if(TARGET zrterm)
  set_target_properties(zrterm PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
endif()
# zrhost is built in a folder of its own, one level down like bin/.
foreach(tool zrcheck zrdxf zrhost)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/../${ZR_PRIVATE_LIB_DIR}" BUILD_WITH_INSTALL_RPATH ON)
    install(TARGETS ${tool} RUNTIME DESTINATION bin)
  endif()
endforeach()

# The COM registry as installed, in the libraries' folder (the run time reads
# the com-registry.d beside libzrcom.so): each line names its library
# relative to the registry folder.
install(DIRECTORY ${ZRCOM_INSTALL_REGISTRY_DIR}/ DESTINATION ${ZR_PRIVATE_LIB_DIR}/com-registry.d)

# The examples, with their catalogue built from its SQL script, beside the
# settings that name it (data_folder = ./).
find_program(ZR_SQLITE3 sqlite3 REQUIRED)
set(ZR_EXAMPLE_CATALOGUE ${CMAKE_BINARY_DIR}/examples/catalogo.db)
add_custom_command(OUTPUT ${ZR_EXAMPLE_CATALOGUE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/examples
  COMMAND bash ${PROJECT_SOURCE_DIR}/examples/catalogue/build-sqlite.sh ${ZR_EXAMPLE_CATALOGUE} > /dev/null
  DEPENDS ${PROJECT_SOURCE_DIR}/examples/catalogue/catalogue.sql ${PROJECT_SOURCE_DIR}/examples/catalogue/build-sqlite.sh
  COMMENT "Building the example catalogue")
add_custom_target(example_catalogue ALL DEPENDS ${ZR_EXAMPLE_CATALOGUE})
install(FILES ${ZR_EXAMPLE_CATALOGUE}
  ${PROJECT_SOURCE_DIR}/examples/catalogue/zrhost.ini
  ${PROJECT_SOURCE_DIR}/examples/catalogue/zrhost-pg.ini
  ${PROJECT_SOURCE_DIR}/examples/catalogue/catalogue.sql
  DESTINATION share/zrconector/examples/catalogue)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/examples/catalogue/build-sqlite.sh
  DESTINATION share/zrconector/examples/catalogue)
install(FILES ${PROJECT_SOURCE_DIR}/examples/drawing.dxf ${PROJECT_SOURCE_DIR}/examples/suite.scm
  ${PROJECT_SOURCE_DIR}/examples/show-connectors.scm ${PROJECT_SOURCE_DIR}/examples/README.md
  DESTINATION share/zrconector/examples)

# The manual pages, written by hand (docs/man), installed compressed as
# Debian asks: gzip -9 -n, so that the bytes do not depend on the time.
find_program(ZR_GZIP gzip REQUIRED)
set(ZR_MAN_PAGES)
foreach(page zrcheck.1 zrdxf.1 zrhost.1 zrcheck-waivers.5)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page})
  set(packed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${ZR_GZIP} -9 -n -c ${source} > ${packed}
    DEPENDS ${source}
    COMMENT "Manual page ${page}")
  list(APPEND ZR_MAN_PAGES ${packed})
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${page})
  install(FILES ${packed} DESTINATION share/man/man${section})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${ZR_MAN_PAGES})

foreach(tool zrcheck zrdxf zrhost)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/zrconector.bash
    DESTINATION share/bash-completion/completions RENAME ${tool})
endforeach()

# The documents, the Debian copyright file and the changelog (compressed as
# the manual pages are).
set(ZR_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${ZR_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${ZR_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/docs/debian/changelog > ${ZR_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/debian/changelog
  COMMENT "Debian changelog")
add_custom_target(package_changelog ALL DEPENDS ${ZR_CHANGELOG})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/catalogue.md
  ${PROJECT_SOURCE_DIR}/docs/debian/copyright ${ZR_CHANGELOG}
  DESTINATION share/doc/zrconector)
install(FILES ${PROJECT_SOURCE_DIR}/tools/zrcheck/README.md DESTINATION share/doc/zrconector RENAME zrcheck.md)
# The schema of zrcheck's JSON report, for pipelines that validate it.
install(FILES ${PROJECT_SOURCE_DIR}/tools/zrcheck/report-schema.json DESTINATION share/zrconector)

# The Debian package: cmake --build build/release --target package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zrconector)
set(CPACK_PACKAGE_VENDOR "ZRConector")
set(CPACK_PACKAGE_CONTACT "ZRConector maintainers <zrconector@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "connector pin check of DXF drawings, reference CAD host and module")
# The extended description; CPack puts the summary first as the synopsis,
# indents each line and writes the empty line between paragraphs as " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "zrcheck checks the connector pin symbols of DXF drawings against a connector
catalogue (SQLite file or PostgreSQL server) and reports missing pins, pins
the catalogue does not know and pins that touch a pin they may not mate with,
as text, JSON, SARIF 2.1.0 or JUnit XML, with waivers and baselines for CI.

zrdxf inspects, audits and repairs DXF drawings. zrhost is a reference CAD
host with a Scheme console and a terminal front end that loads the
ZRConector module and its connector dialogs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Stripped programs and libraries; the libraries they link found by
# dpkg-shlibdeps, with versions (our own private ones looked up in the tree
# being packaged).
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The ODBC drivers are loaded at run time by name, so no library scan finds them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqliteodbc, odbc-postgresql")
# Files 0644 and folders 0755, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
