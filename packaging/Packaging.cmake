# What a Debian system expects besides the programs: manual pages, the desktop
# entry with its icons and MIME types, AppStream metadata, the copyright file, the
# Debian changelog, the sample profiles and the user guide; and the CPack
# settings that turn the install into zlm_<version>-<revision>_<arch>.deb
# (scripts/package).
#
# packaging/changelog is the one record of releases: its latest entry gives the
# package's Debian revision, its maintainer and the AppStream release date, and
# its version must be the project's.

set(ZLM_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(ZLM_PACKAGING_BUILD_DIR "${CMAKE_BINARY_DIR}/packaging")
set(ZLM_DOC_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/doc/zlm")

# Debian wants 0755 directories whatever the umask of whoever builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# --- The latest changelog entry ------------------------------------------------
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ZLM_PACKAGING_DIR}/changelog")
file(STRINGS "${ZLM_PACKAGING_DIR}/changelog" changelog_heading LIMIT_COUNT 1 REGEX "^zlm \\(")
file(STRINGS "${ZLM_PACKAGING_DIR}/changelog" changelog_trailer LIMIT_COUNT 1 REGEX "^ -- ")
if(NOT changelog_heading MATCHES "^zlm \\(([^)-]+)-([^)]+)\\)")
  message(FATAL_ERROR "packaging/changelog: the first line must read \"zlm (VERSION-REVISION) ...\"")
endif()
set(ZLM_CHANGELOG_VERSION "${CMAKE_MATCH_1}")
set(ZLM_DEBIAN_REVISION "${CMAKE_MATCH_2}")
if(NOT ZLM_CHANGELOG_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's latest entry is for ${ZLM_CHANGELOG_VERSION}, the project is "
                      "${PROJECT_VERSION}: add an entry for the new version (dch -v ${PROJECT_VERSION}-1).")
endif()
if(NOT changelog_trailer MATCHES "^ -- (.+ <[^>]+>)  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: the first entry lacks its \" -- NAME <EMAIL>  DATE\" line")
endif()
set(ZLM_MAINTAINER "${CMAKE_MATCH_1}")
set(release_year "${CMAKE_MATCH_4}")
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND month_names "${CMAKE_MATCH_3}" release_month)
if(release_month LESS 0)
  message(FATAL_ERROR "packaging/changelog: \"${CMAKE_MATCH_3}\" in the first entry's date is not a month")
endif()
math(EXPR release_month "${release_month} + 1")
math(EXPR release_day "${CMAKE_MATCH_2}") # "09" and "9" alike
foreach(part release_month release_day)
  if(${part} LESS 10)
    set(${part} "0${${part}}")
  endif()
endforeach()
set(ZLM_RELEASE_VERSION "${PROJECT_VERSION}")
set(ZLM_RELEASE_DATE "${release_year}-${release_month}-${release_day}")

# --- Generated files: compressed man pages and changelog, metainfo, PNG icons --
find_program(ZLM_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY "${ZLM_PACKAGING_BUILD_DIR}")

# gzip -9n: the best compression, and no name or time stamp, so the bytes depend
# on the source alone (reproducible packages).
function(zlm_gzip_file source output)
  add_custom_command(OUTPUT "${output}"
    COMMAND "${ZLM_GZIP}" -9n -c "${source}" > "${output}"
    DEPENDS "${source}" VERBATIM)
endfunction()

set(man_pages zlm-batch.1)
if(ZLM_BUILD_GUI)
  list(APPEND man_pages zlm.1)
endif()
set(packaging_outputs "${ZLM_PACKAGING_BUILD_DIR}/changelog.Debian.gz")
zlm_gzip_file("${ZLM_PACKAGING_DIR}/changelog" "${ZLM_PACKAGING_BUILD_DIR}/changelog.Debian.gz")
foreach(page ${man_pages})
  # The page's heading gets the release's version and date.
  configure_file("${PROJECT_SOURCE_DIR}/docs/man/${page}" "${ZLM_PACKAGING_BUILD_DIR}/man/${page}" @ONLY)
  zlm_gzip_file("${ZLM_PACKAGING_BUILD_DIR}/man/${page}" "${ZLM_PACKAGING_BUILD_DIR}/${page}.gz")
  list(APPEND packaging_outputs "${ZLM_PACKAGING_BUILD_DIR}/${page}.gz")
  install(FILES "${ZLM_PACKAGING_BUILD_DIR}/${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()

install(FILES "${ZLM_PACKAGING_DIR}/copyright" "${ZLM_PACKAGING_BUILD_DIR}/changelog.Debian.gz"
        DESTINATION "${ZLM_DOC_INSTALL_DIR}")
install(FILES "${ZLM_PACKAGING_DIR}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME zlm)
# The samples stay uncompressed: they are meant to be opened as they are.
install(FILES
  "${PROJECT_SOURCE_DIR}/samples/README.md"
  "${PROJECT_SOURCE_DIR}/samples/one-channel.erd"
  "${PROJECT_SOURCE_DIR}/samples/two-channel.erd"
  "${PROJECT_SOURCE_DIR}/samples/column-text.dat"
  "${PROJECT_SOURCE_DIR}/samples/make_samples.py"
  DESTINATION "${ZLM_DOC_INSTALL_DIR}/samples")
# The user guide as plain HTML pages with their pictures, to read in any browser
# (the program carries the same pages inside and shows them on F1).
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/guide/" DESTINATION "${ZLM_DOC_INSTALL_DIR}/guide"
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.png")

if(ZLM_BUILD_GUI)
  configure_file("${ZLM_PACKAGING_DIR}/org.evenrule.zlm.metainfo.xml.in"
                 "${ZLM_PACKAGING_BUILD_DIR}/org.evenrule.zlm.metainfo.xml" @ONLY)
  install(FILES "${ZLM_PACKAGING_BUILD_DIR}/org.evenrule.zlm.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  install(FILES "${ZLM_PACKAGING_DIR}/zlm.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${ZLM_PACKAGING_DIR}/zlm-mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
          RENAME zlm.xml)
  install(FILES "${ZLM_PACKAGING_DIR}/zlm.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

  # Menus and software centres that cannot draw SVG take the PNG sizes.
  find_program(ZLM_RSVG_CONVERT rsvg-convert)
  if(ZLM_RSVG_CONVERT)
    foreach(size 48 128 256)
      set(png "${ZLM_PACKAGING_BUILD_DIR}/icons/${size}x${size}/zlm.png")
      add_custom_command(OUTPUT "${png}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${ZLM_PACKAGING_BUILD_DIR}/icons/${size}x${size}"
        COMMAND "${ZLM_RSVG_CONVERT}" -w ${size} -h ${size} -o "${png}" "${ZLM_PACKAGING_DIR}/zlm.svg"
        DEPENDS "${ZLM_PACKAGING_DIR}/zlm.svg" VERBATIM)
      list(APPEND packaging_outputs "${png}")
      install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
    endforeach()
  else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: the install has the SVG icon only. "
                    "scripts/setup installs it.")
  endif()
endif()
add_custom_target(zlm_packaging_files ALL DEPENDS ${packaging_outputs})

# --- CPack: one Debian package --------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zlm)
set(CPACK_PACKAGE_VENDOR "Evenrule")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${ZLM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pavement straightedge simulation for road profiles")
set(CPACK_PACKAGE_DESCRIPTION [=[
ZLM rolls a simulated 16-foot straightedge along a longitudinal road profile
in 8-foot steps and reports, for every placement, the station, the largest gap
under the straightedge and how far it exceeds the 0.25-inch criterion, or, per
section of road, the share of placements that exceeded.

The package holds the zlm window, which opens ERD and column-text profiles,
shows the results table and plots the deviations, and zlm-batch, which runs
the same analysis from scripts and writes the same files.]=])
# Debian installs below /usr; the plugin's directory is then the one the program looks in.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${ZLM_DEBIAN_REVISION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZLM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://evenrule.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
