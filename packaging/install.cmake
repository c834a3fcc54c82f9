# Installation and the Debian package. `cmake --install` puts both programs in bin/, the
# desktop entry, AppStream metadata, icons and man pages where desktops and man look for them,
# and the user guide with the sample maps in share/quarn3d/; `cpack -G DEB` packs the same
# (scripts/package.sh). The PNG icons are the SVG rendered by `rsvg-convert -w N -h N`.
include(GNUInstallDirs)

# The day of the release that project()'s VERSION names: change the two together.
set(QUARN_RELEASE_DATE 2026-12-07)
set(QUARN_HOMEPAGE "https://quarn3d.example.org"
    CACHE STRING "Home page named by the package and the AppStream metadata")
set(QUARN_MAINTAINER "Quarn 3D developers <quarn3d@example.org>"
    CACHE STRING "Maintainer named by the Debian package")
set(QUARN_PACKAGE_VERSION ${PROJECT_VERSION}-1)

set(quarn_app_id org.quarn3d.Quarn3D)
set(quarn_data ${CMAKE_INSTALL_DATADIR}/quarn3d)
set(quarn_docs ${CMAKE_INSTALL_DATADIR}/doc/quarn3d)
set(quarn_packaging ${CMAKE_CURRENT_LIST_DIR})
set(quarn_generated ${PROJECT_BINARY_DIR}/packaging)

# The documentation window finds the installed guide from the program's own folder.
file(RELATIVE_PATH quarn_guide_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${quarn_data}/document.txt)
target_compile_definitions(quarn_app PRIVATE QUARN_GUIDE_FROM_BIN="${quarn_guide_from_bin}")

# Texts that name the version, the release day or the installed paths; man pages and the
# changelog compressed without a time stamp, as Debian wants them.
execute_process(COMMAND date -u -R -d "${QUARN_RELEASE_DATE} 12:00" OUTPUT_VARIABLE
                        QUARN_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
foreach(text ${quarn_app_id}.metainfo.xml copyright changelog.Debian quarn3d.1 quarn3d-cli.1)
    configure_file(${quarn_packaging}/${text}.in ${quarn_generated}/${text} @ONLY)
endforeach()
foreach(text changelog.Debian quarn3d.1 quarn3d-cli.1)
    execute_process(COMMAND gzip -9 -n -c ${quarn_generated}/${text}
                    OUTPUT_FILE ${quarn_generated}/${text}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

install(TARGETS quarn3d quarn3d-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${quarn_packaging}/${quarn_app_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${quarn_generated}/${quarn_app_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${quarn_packaging}/icons/quarn3d.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${quarn_packaging}/icons/quarn3d-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quarn3d.png)
endforeach()
install(FILES ${quarn_generated}/quarn3d.1.gz ${quarn_generated}/quarn3d-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/samples/document.txt ${PROJECT_SOURCE_DIR}/samples/island.bmp
              ${PROJECT_SOURCE_DIR}/samples/valley.bmp DESTINATION ${quarn_data})
install(FILES ${quarn_generated}/copyright ${quarn_generated}/changelog.Debian.gz
        DESTINATION ${quarn_docs})

# Installs into a temporary prefix and checks what lands where.
add_test(NAME install_layout
         COMMAND ${quarn_packaging}/check_install.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(install_layout PROPERTIES TIMEOUT 120)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarn3d)
set(CPACK_PACKAGE_VENDOR "The Quarn 3D developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a coloured contour map into a shaded 3D terrain")
# Debian shows the description as it stands: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Quarn 3D reads a BMP contour map of at most 16 colours, each colour one height
band, and writes a terrain file from the heights given to the colours. Its
viewer turns, tilts and lights the terrain under a movable sun and saves the
picture. Terrains can also be exported for 3D printing (STL) and for other
programs (OBJ, PLY, glTF, 16-bit heightmaps).
.
The package holds the application, the batch tool quarn3d-cli, the user guide
and two sample maps.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUARN_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUARN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps computes the Qt and C++ runtime dependencies from the programs; the windows'
# face, metric-compatible with Arial, and the toolkit's TIFF reader for imported maps (a
# plugin, which dpkg-shlibdeps cannot see) are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-image-formats-plugins")
include(CPack)
