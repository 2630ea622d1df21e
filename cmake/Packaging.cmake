# SPDX-License-Identifier: LGPL-3.0-or-later
# Debian packages by CPack, split as Debian splits a library:
#   libzcmcom0     the shared libraries (soname 0)
#   libzcmcom-dev  headers, CMake package, pkg-config files
#   zcmcom-tools   the zcmcom program and its manual page
#   zcmcom-data    catalogues, element files, the camera database
# scripts/package.sh configures with ZCMCOM_PACKAGING=ON and the prefix /usr.
set(CPACK_PACKAGE_NAME zcmcom)
set(CPACK_PACKAGE_VENDOR "The ZCMCOM developers")
set(CPACK_PACKAGE_CONTACT "ZCMCOM developers <zcmcom@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL libs dev tools data)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The project's own libraries, for dpkg-shlibdeps: the packages among themselves depend
# through the component dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_LIBS_PACKAGE_NAME libzcmcom0)
set(CPACK_DEBIAN_LIBS_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_LIBS_DESCRIPTION "astronomy applications' common library: shared libraries
ZCMCOM composes the information texts of objects clicked on a planetarium's sky
chart (names, magnitudes, positions in seven coordinate systems, rise and set,
orbits, eclipses, catalogue details) and carries date and site state,
coordinate formatting, encoding-aware text files, a camera database, sockets,
bitmaps and a world time-zone map. This package holds the shared libraries,
including the built-in sky (libzcmsky), a planetarium host that computes its
own answers.")
set(CPACK_DEBIAN_LIBS_PACKAGE_RECOMMENDS zcmcom-data)
set(CPACK_DEBIAN_LIBS_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/debian/triggers)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzcmcom-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS libs)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libsqlite3-dev, libnova-dev, liberfa-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION "astronomy applications' common library: development files
ZCMCOM composes the information texts of objects clicked on a planetarium's sky
chart. This package holds the headers, the CMake package (find_package(zcmcom),
targets zcmcom::zcmcom and zcmcom::sky) and the pkg-config files.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zcmcom-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION science)
set(CPACK_COMPONENT_TOOLS_DEPENDS libs data)
# Local times come from the tz database; zcmcom update opens libcurl; the chart's names and
# degree signs need a Japanese font; the chart page draws with d3 (libjs-d3).
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "tzdata, libcurl4, libjs-d3")
set(CPACK_DEBIAN_TOOLS_PACKAGE_RECOMMENDS "fonts-ipaexfont-gothic | fonts-noto-cjk")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "astronomy applications' common library: command-line program
ZCMCOM composes the information texts of objects clicked on a planetarium's sky
chart. This package holds the zcmcom program: click texts from the built-in sky
or a planetarium's answers, coordinates, dates, time zones, the camera list,
text-file conversion and the networking helpers.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME zcmcom-data)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION science)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_DATA_DESCRIPTION "astronomy applications' common library: data files
ZCMCOM composes the information texts of objects clicked on a planetarium's sky
chart. This package holds the data its built-in sky and tools read: star and
deep-sky catalogues, orbital elements, the camera database, each with its own
licence and attribution.")

# Every package carries the copyright file and the compressed changelog Debian expects.
set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.gz)
configure_file(${PROJECT_SOURCE_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(zcm_changelog ALL DEPENDS ${changelog_gz})
foreach(component libs dev tools data)
  string(TOUPPER ${component} C)
  set(pkg ${CPACK_DEBIAN_${C}_PACKAGE_NAME})
  install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${changelog_gz}
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${pkg} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
