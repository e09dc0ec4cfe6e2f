# What `cmake --install` puts where, the manual pages, and the Debian package.
#
#   bin/                               zrhost, zrcheck, zrdxf (RPATH $ORIGIN/../lib)
#   lib/                               the module, the settings component and the platform libraries
#   share/zrconector/com-registry.d/   the COM registry (library paths relative to it)
#   share/zrconector/examples/         the example drawing, scripts, settings and catalogue
#   share/man/man1/                    manual pages, made by help2man from --help and --version
#   share/bash-completion/completions/ completion for the three programs
#   share/doc/zrconector/              README and the catalogue guide
#
# Nothing installed names the source or build tree: the programs find each
# other, the registry and the examples from where they are.

foreach(library zrcom zrdwg zrfx zrado zrui prmset zrconector)
  if(TARGET ${library})
    install(TARGETS ${library} LIBRARY DESTINATION lib)
  endif()
endforeach()
foreach(tool zrcheck zrdxf)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION bin)
  endif()
endforeach()

# The COM registry as installed: each line names its library relative to the
# registry folder (share/zrconector/com-registry.d -> lib).
install(DIRECTORY ${ZRCOM_INSTALL_REGISTRY_DIR}/ DESTINATION share/zrconector/com-registry.d)

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

# Manual pages from the programs' own --help and --version, so that they
# cannot say other than the programs do.
find_program(ZR_HELP2MAN help2man REQUIRED)
set(ZR_MAN_PAGES)
foreach(tool zrcheck zrdxf zrhost)
  if(NOT TARGET ${tool})
    continue()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${tool}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    # A sanitizer build's programs run here too; their leak report is not the page.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${ZR_HELP2MAN} --no-info --no-discard-stderr --section=1 --source=ZRConector
            --name=${ZR_MAN_NAME_${tool}} --output=${page} $<TARGET_FILE:${tool}>
    DEPENDS ${tool}
    COMMENT "Manual page of ${tool}")
  list(APPEND ZR_MAN_PAGES ${page})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${ZR_MAN_PAGES})
install(FILES ${ZR_MAN_PAGES} DESTINATION share/man/man1)

foreach(tool zrcheck zrdxf zrhost)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/zrconector.bash
    DESTINATION share/bash-completion/completions RENAME ${tool})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/catalogue.md
  DESTINATION share/doc/zrconector)
# The schema of zrcheck's JSON report, for pipelines that validate it.
install(FILES ${PROJECT_SOURCE_DIR}/tools/zrcheck/report-schema.json DESTINATION share/zrconector)

# The Debian package: cmake --build build/release --target package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zrconector)
set(CPACK_PACKAGE_VENDOR "ZRConector")
set(CPACK_PACKAGE_CONTACT "ZRConector maintainers <zrconector@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "connector pin check of DXF drawings, reference CAD host and module")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The ODBC drivers are loaded at run time by name, so no library scan finds them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libicu72, libinih1, libguile-3.0-1, libodbc2, libncursesw6, libsqliteodbc, odbc-postgresql")
if(ZR_SANITIZE)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libasan8, libubsan1")
endif()
include(CPack)
