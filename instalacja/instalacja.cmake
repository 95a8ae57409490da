# Installation (`cmake --install`, GNUInstallDirs) and the Debian package
# (CPack).  Included at the end of the top CMakeLists.txt, in its scope, so
# that the icon rendered here also goes into the desktop program.

# The desktop entry, the icon and the program's windows are named by one
# reverse-domain identifier, SKORBA_ID.
set(SKORBA_OPIEKUN "Zespół programu SKORBA N <skorba-n@example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(SKORBA_INSTALACJA ${CMAKE_SOURCE_DIR}/instalacja)
set(SKORBA_WYNIKI_INSTALACJI)

install(TARGETS skorba_calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# --- manual pages and the package changelog, compressed as Debian keeps them ----
set(SKORBA_STRONY_MAN skorba_calc)
if(SKORBA_GUI)
  list(APPEND SKORBA_STRONY_MAN skorba_n)
endif()
foreach(strona ${SKORBA_STRONY_MAN})
  configure_file(${SKORBA_INSTALACJA}/${strona}.1.in ${CMAKE_BINARY_DIR}/man/${strona}.1 @ONLY)
  set(gz ${CMAKE_BINARY_DIR}/man/${strona}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/man/${strona}.1
    DEPENDS ${CMAKE_BINARY_DIR}/man/${strona}.1 VERBATIM)
  list(APPEND SKORBA_WYNIKI_INSTALACJI ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${SKORBA_INSTALACJA}/changelog.in ${CMAKE_BINARY_DIR}/pakiet/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/pakiet/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/pakiet/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/pakiet/changelog VERBATIM)
list(APPEND SKORBA_WYNIKI_INSTALACJI ${CMAKE_BINARY_DIR}/pakiet/changelog.gz)

# --- documents and examples -------------------------------------------------------
# The help page, a manual folder (docs/podrecznik/, HTML with its pictures)
# when there is one, the example models, the copyright notice.
install(FILES docs/skorban.html ${SKORBA_INSTALACJA}/copyright ${CMAKE_BINARY_DIR}/pakiet/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB SKORBA_PRZYKLADY CONFIGURE_DEPENDS examples/*.SKD)
install(FILES ${SKORBA_PRZYKLADY} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
file(GLOB_RECURSE SKORBA_PODRECZNIK CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/docs docs/podrecznik/*)
foreach(plik ${SKORBA_PODRECZNIK})
  # Next to the programs in the build folder too, where "Pomoc" looks first.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${plik}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/${plik} ${CMAKE_BINARY_DIR}/${plik}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/${plik} VERBATIM)
  list(APPEND SKORBA_WYNIKI_INSTALACJI ${CMAKE_BINARY_DIR}/${plik})
  get_filename_component(katalog ${plik} DIRECTORY)
  install(FILES docs/${plik} DESTINATION ${CMAKE_INSTALL_DOCDIR}/${katalog})
endforeach()

# --- the desktop program: menu entry, file types, icon ---------------------------------
if(SKORBA_GUI)
  install(TARGETS skorba_n RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${SKORBA_INSTALACJA}/${SKORBA_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${SKORBA_INSTALACJA}/skorba-n.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${SKORBA_INSTALACJA}/${SKORBA_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # The icon is drawn once, as SVG; the bitmaps of every size are rendered
  # from it, installed in the icon theme and built into the program, which
  # then needs no SVG support of its own.
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
  set(SKORBA_IKONY_PNG)
  foreach(r 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/ikony/${r}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/ikony
      COMMAND ${RSVG_CONVERT} -w ${r} -h ${r} -o ${png} ${SKORBA_INSTALACJA}/${SKORBA_ID}.svg
      DEPENDS ${SKORBA_INSTALACJA}/${SKORBA_ID}.svg VERBATIM)
    list(APPEND SKORBA_IKONY_PNG ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${r}x${r}/apps RENAME ${SKORBA_ID}.png)
  endforeach()
  qt_add_resources(skorba_qt ikona PREFIX /ikona BASE ${CMAKE_BINARY_DIR}/ikony FILES ${SKORBA_IKONY_PNG})
endif()

add_custom_target(instalacja ALL DEPENDS ${SKORBA_WYNIKI_INSTALACJI})

# --- the Debian package: `cpack -G DEB` in a build configured for /usr ------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skorba-n)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zespół programu SKORBA N")
set(CPACK_PACKAGE_CONTACT "${SKORBA_OPIEKUN}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the Qt platform
# plugins are loaded at run time, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Polish texts of the standard buttons and dialogs, the fonts the pictures
# are laid out for, and the program that opens the help in a browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gmsh")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "finite element analysis of plates with a nonlinear material")
# The summary is the first line of the package's description; this is the rest.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "SKORBA N analyses flat plates loaded in their own plane (plane stress,"
  "three-node triangles) whose material is a chain of straight stress-strain"
  "pieces: the analysis repeats linear solutions with the secant modulus of"
  "every element until the displacements settle. Models are built by hand,"
  "with a rectangle mesh generator or with a wizard; the results are shown as"
  "the deformed shape, stress maps and tables, and written as a report. The"
  "desktop program skorba_n speaks Polish; skorba_calc runs the same analysis"
  "without a window."
  "."
  "SKORBA N oblicza metodą elementów skończonych płaskie tarcze obciążone w"
  "swojej płaszczyźnie (płaski stan naprężenia, trójkąty o trzech węzłach)"
  "z materiałem o łamanej zależności naprężenie-odkształcenie: obliczenia"
  "powtarzają rozwiązania liniowe z modułem siecznym każdego elementu, aż"
  "przemieszczenia przestaną się zmieniać. Model buduje się ręcznie,"
  "generatorem siatki prostokąta albo kreatorem; wyniki to kształt po"
  "odkształceniu, mapy naprężeń, tabele i raport. skorba_calc wykonuje te same"
  "obliczenia bez okna.")
include(CPack)
