# Installation (cmake --install) and the portable archive (cpack).
#
# The program reads its bank from the folder "baza" beside its real executable (symbolic links
# resolved), and the program and the checker start the metafile helper from beside themselves too.
# So the three executables and the bank must share one folder. An installation therefore keeps them
# in a program folder of their own, <prefix>/lib/zdawnik by default: the FHS lets an application
# keep a single subdirectory of /usr/lib for the files it alone uses, as Firefox and LibreOffice do
# for theirs. <prefix>/bin holds relative symbolic links to the two commands, so they are on the
# PATH and the tree can be moved or staged under DESTDIR without breaking them. The desktop entry,
# the icons, the AppStream metadata, the manual pages and the documents go where desktops and
# package tools look for them, under <prefix>/share.
#
# The portable archive is a different layout: one folder zdawnik-<version>/ that runs where it is
# unpacked, with the executables, the bank and the documents side by side and no links, so a ZIP
# holds it as well as a tarball. Its files are the "portable" component, which a plain
# cmake --install leaves out.

include(GNUInstallDirs)

# The application's identity on the desktop: the desktop entry, the icon and the AppStream
# component all carry this name, and the program reports it as its desktop file name.
set(ZDAWNIK_APP_ID io.github.zdawnik.zdawnik)

if(WIN32)
    # Windows has no links to put on the PATH nor freedesktop.org menus: the prefix is the folder.
    set(ZDAWNIK_DEFAULT_PROGRAMDIR .)
else()
    set(ZDAWNIK_DEFAULT_PROGRAMDIR lib/zdawnik)
endif()
set(ZDAWNIK_INSTALL_PROGRAMDIR "${ZDAWNIK_DEFAULT_PROGRAMDIR}" CACHE STRING
    "Folder, relative to the install prefix, that holds the program, its helper, the checker and the bank")
foreach(dir ZDAWNIK_INSTALL_PROGRAMDIR CMAKE_INSTALL_BINDIR)
    if(IS_ABSOLUTE "${${dir}}")
        # The links in bin/ are relative, so that a staged (DESTDIR) or moved tree keeps working.
        message(FATAL_ERROR "${dir} must be relative to the install prefix, not ${${dir}}")
    endif()
endforeach()

set(ZDAWNIK_INSTALLED_COMMANDS zdawnik zdawnik-check)
set(ZDAWNIK_INSTALLED_PROGRAMS ${ZDAWNIK_INSTALLED_COMMANDS} zdawnik-metafile)

# --- The installation -------------------------------------------------------------------------

install(TARGETS ${ZDAWNIK_INSTALLED_PROGRAMS}
    RUNTIME DESTINATION ${ZDAWNIK_INSTALL_PROGRAMDIR}
    COMPONENT program)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/baza/
    DESTINATION ${ZDAWNIK_INSTALL_PROGRAMDIR}/baza
    COMPONENT program)
# The converter is a tool for those who write banks: it is installed beside the checker, but the
# portable archive, which is for drilling, leaves it out.
install(TARGETS zdawnik-convert
    RUNTIME DESTINATION ${ZDAWNIK_INSTALL_PROGRAMDIR}
    COMPONENT program)

if(NOT WIN32)
    # The links are made in the build tree and installed as links: install() copies a symbolic
    # link as a link, and the install manifest then lists them for uninstalling.
    file(RELATIVE_PATH ZDAWNIK_BIN_TO_PROGRAMDIR
        /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ZDAWNIK_INSTALL_PROGRAMDIR})
    set(ZDAWNIK_LINK_DIR ${CMAKE_BINARY_DIR}/install-links)
    file(REMOVE_RECURSE ${ZDAWNIK_LINK_DIR})
    file(MAKE_DIRECTORY ${ZDAWNIK_LINK_DIR})
    foreach(command ${ZDAWNIK_INSTALLED_COMMANDS} zdawnik-convert)
        file(CREATE_LINK ${ZDAWNIK_BIN_TO_PROGRAMDIR}/${command} ${ZDAWNIK_LINK_DIR}/${command} SYMBOLIC)
        install(FILES ${ZDAWNIK_LINK_DIR}/${command}
            DESTINATION ${CMAKE_INSTALL_BINDIR}
            COMPONENT program)
    endforeach()

    install(FILES ${PROJECT_SOURCE_DIR}/data/${ZDAWNIK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT program)
    install(FILES ${PROJECT_SOURCE_DIR}/data/${ZDAWNIK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT program)

    # The icon is named after the application, as the desktop entry and AppStream refer to it.
    file(GLOB ZDAWNIK_ICON_SIZES RELATIVE ${PROJECT_SOURCE_DIR}/assets/icons/hicolor
        ${PROJECT_SOURCE_DIR}/assets/icons/hicolor/*)
    foreach(size ${ZDAWNIK_ICON_SIZES})
        file(GLOB icon ${PROJECT_SOURCE_DIR}/assets/icons/hicolor/${size}/apps/zdawnik.*)
        if(NOT icon)
            continue()
        endif()
        get_filename_component(extension ${icon} LAST_EXT)
        install(FILES ${icon}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
            RENAME ${ZDAWNIK_APP_ID}${extension}
            COMPONENT program)
    endforeach()

    foreach(page zdawnik.1 zdawnik-check.1 zdawnik-convert.1)
        configure_file(${PROJECT_SOURCE_DIR}/data/${page}.in ${CMAKE_BINARY_DIR}/data/${page} @ONLY)
        install(FILES ${CMAKE_BINARY_DIR}/data/${page}
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT manual)
    endforeach()
endif()

if(WIN32)
    set(ZDAWNIK_INSTALL_DOCDIR .)
else()
    set(ZDAWNIK_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/zdawnik)
endif()
# The README goes with the files it links to, in the same places beside it, so that every link of
# the installed or unpacked copy leads somewhere.
file(STRINGS ${PROJECT_SOURCE_DIR}/README.md ZDAWNIK_README_LINES REGEX "\\]\\(docs/")
set(ZDAWNIK_README_LINKED)
foreach(line IN LISTS ZDAWNIK_README_LINES)
    string(REGEX MATCHALL "\\]\\(docs/[^)#]+" links "${line}")
    foreach(link IN LISTS links)
        string(SUBSTRING "${link}" 2 -1 linked)
        list(APPEND ZDAWNIK_README_LINKED ${PROJECT_SOURCE_DIR}/${linked})
    endforeach()
endforeach()
list(APPEND ZDAWNIK_README_LINKED ${PROJECT_SOURCE_DIR}/docs/INSTALL.md)
list(REMOVE_DUPLICATES ZDAWNIK_README_LINKED)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${ZDAWNIK_INSTALL_DOCDIR}
    COMPONENT program)
install(FILES ${ZDAWNIK_README_LINKED}
    DESTINATION ${ZDAWNIK_INSTALL_DOCDIR}/docs
    COMPONENT program)

# --- The portable archive ---------------------------------------------------------------------

install(TARGETS ${ZDAWNIK_INSTALLED_PROGRAMS}
    RUNTIME DESTINATION .
    COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/baza/
    DESTINATION baza
    COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION .
    COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${ZDAWNIK_README_LINKED}
    DESTINATION docs
    COMPONENT portable EXCLUDE_FROM_ALL)

# The tests of the installation and the archive check the layout chosen here; they take it from
# this target, which tests/ links to before this file has run.
add_library(zdawnik_install_layout INTERFACE)
target_compile_definitions(zdawnik_install_layout INTERFACE
    ZDAWNIK_APP_ID="${ZDAWNIK_APP_ID}"
    ZDAWNIK_INSTALL_PROGRAMDIR="${ZDAWNIK_INSTALL_PROGRAMDIR}"
    ZDAWNIK_INSTALL_BINDIR="${CMAKE_INSTALL_BINDIR}"
    ZDAWNIK_INSTALL_DATADIR="${CMAKE_INSTALL_DATADIR}"
    ZDAWNIK_INSTALL_MANDIR="${CMAKE_INSTALL_MANDIR}"
    ZDAWNIK_INSTALL_DOCDIR="${ZDAWNIK_INSTALL_DOCDIR}"
    ZDAWNIK_PACKAGE_FILE_NAME="zdawnik-${PROJECT_VERSION}"
    ZDAWNIK_VERSION="${PROJECT_VERSION}")

set(CPACK_PACKAGE_NAME zdawnik)
set(CPACK_PACKAGE_VENDOR "Zdawnik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The archive's name is also the one folder it unpacks to.
set(CPACK_PACKAGE_FILE_NAME zdawnik-${PROJECT_VERSION})
set(CPACK_GENERATOR TGZ ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The build keeps debugging information; the archive is for running, and stripped it is a
# twentieth of the size.
set(CPACK_STRIP_FILES ON)
# Only the portable component goes into the archive, laid out from the archive's top folder.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};portable;/")

# --- The Debian package ------------------------------------------------------------------------
#
# cpack -G DEB (./build.sh package) makes zdawnik_<version>-<release>_<arch>.deb from the
# installation's own layout under /usr: the program folder /usr/lib/zdawnik with the links to its
# commands in /usr/bin, and the rest under /usr/share. Debian wants its manual pages and changelog
# compressed and a copyright file beside the documents; these come from the "debian" component,
# which only the package installs.
if(UNIX AND NOT APPLE)
    set(ZDAWNIK_DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)
    file(MAKE_DIRECTORY ${ZDAWNIK_DEBIAN_DIR})
    find_program(ZDAWNIK_GZIP gzip)
    # -n: no name and no time in the header, so the same sources give the same package.
    foreach(page zdawnik.1 zdawnik-check.1 zdawnik-convert.1)
        if(ZDAWNIK_GZIP)
            execute_process(COMMAND ${ZDAWNIK_GZIP} -9nc ${CMAKE_BINARY_DIR}/data/${page}
                OUTPUT_FILE ${ZDAWNIK_DEBIAN_DIR}/${page}.gz)
            install(FILES ${ZDAWNIK_DEBIAN_DIR}/${page}.gz
                DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
                COMPONENT debian EXCLUDE_FROM_ALL)
        endif()
    endforeach()
    set(ZDAWNIK_DEBIAN_RELEASE 1)
    set(ZDAWNIK_MAINTAINER "Zdawnik developers <zdawnik@users.noreply.github.com>")
    string(TIMESTAMP ZDAWNIK_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
    file(WRITE ${ZDAWNIK_DEBIAN_DIR}/changelog.Debian
        "zdawnik (${PROJECT_VERSION}-${ZDAWNIK_DEBIAN_RELEASE}) unstable; urgency=medium\n\n"
        "  * Zdawnik ${PROJECT_VERSION}.\n\n"
        " -- ${ZDAWNIK_MAINTAINER}  ${ZDAWNIK_CHANGELOG_DATE}\n")
    if(ZDAWNIK_GZIP)
        execute_process(COMMAND ${ZDAWNIK_GZIP} -9nc ${ZDAWNIK_DEBIAN_DIR}/changelog.Debian
            OUTPUT_FILE ${ZDAWNIK_DEBIAN_DIR}/changelog.Debian.gz)
    endif()
    install(FILES ${ZDAWNIK_DEBIAN_DIR}/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${ZDAWNIK_INSTALL_DOCDIR}
        COMPONENT debian EXCLUDE_FROM_ALL)

    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZDAWNIK_MAINTAINER}")
    set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZDAWNIK_DEBIAN_RELEASE})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION education)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/zdawnik/zdawnik")
    # Below the one-line summary (CPACK_PACKAGE_DESCRIPTION_SUMMARY).
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Zdawnik shows the questions of a bank, a folder of text files, in random\n\
order, each until it has been answered right three times, and keeps the\n\
progress on every bank between sittings. Questions may offer up to twelve\n\
answers or make a sentence of up to four drop-down lists, and their texts\n\
and answers may be pictures. The window speaks Polish. zdawnik-check checks\n\
a bank before it is used.")
    # The libraries come from what the executables link; Qt's platform plugins and the fonts the
    # window is laid out for are loaded at run time, so they are named here.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-liberation2")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
    set(ZDAWNIK_DEB_PROJECTS
        "${CMAKE_BINARY_DIR};${PROJECT_NAME};program;/;${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake.in
        ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake @ONLY)
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
endif()

# The source archive leaves out the repository's history and the build folders kept in the tree.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME zdawnik-${PROJECT_VERSION}-source)
string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" ZDAWNIK_SOURCE_PATTERN "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_IGNORE_FILES
    "^${ZDAWNIK_SOURCE_PATTERN}/\\.git/"
    "^${ZDAWNIK_SOURCE_PATTERN}/build[^/]*/"
    "^${ZDAWNIK_SOURCE_PATTERN}/out/"
    "^${ZDAWNIK_SOURCE_PATTERN}/\\.cache/"
    "\\.swp$")
# The patterns above are written to CPack's configuration as they stand.
set(CPACK_VERBATIM_VARIABLES ON)

include(CPack)
