# The Debian package of the editor, built by `cpack` (or `make package`) from the install rules.
# Packaging and installing need only the program: they do not build the tests and benchmarks first
# (`make install` and `make package` build the program themselves).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmar32)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelmar32 developers")
set(CPACK_PACKAGE_CONTACT "Pelmar32 developers <pelmar32@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for hand-written HTML source")
set(CPACK_PACKAGE_DESCRIPTION
  "Pelmar32 opens, edits and saves HTML and text files, each in its own
document window. Menus, speed bars, custom buttons and dialogs put markup
into the active document; tags and entities are coloured as you type;
characters convert to entities and back; plain lines become paragraphs and
lists; pages can be previewed in a web browser.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The preview asks the desktop for its web browser through xdg-mime and xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
find_program(PELMAR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PELMAR_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libtidy5deb1, libutf8proc2, libstdc++6, libc6")
endif()

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/")

include(CPack)
