# Third-party libraries, all from Debian packages (see scripts/install-dependencies.sh).
#
# The libraries the application links are named in ONE list, at the end of this file. Each entry finds the
# library, makes the target that modules link (thirdparty::<id>) and names the Debian packages that bring
# what the program loads of it and the name the acknowledgements show. The acknowledgements window lists
# the libraries in the list's order, each with the copyright file of its first package as its licence
# (cmake/Resources.cmake makes them), and a test checks that every library the program loads is listed.
# A library the application needs is added to the list, never linked by its own target name.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)  # the C library's threads: part of the system, not a library of ours

# quillo_library(<id> NAME <shown name> PACKAGES <Debian package>...
#                {[FIND_PACKAGE <find_package arguments>...] LINK <imported targets>... | PKG_CONFIG <module>...})
#   Finds the library and makes thirdparty::<id> link it; with PKG_CONFIG, its pkg-config modules' imported
#   target. Appends it to QUILLO_LIBRARIES (a global property, in the list's order), with its shown name
#   and packages in QUILLO_LIBRARY_<id>_NAME and QUILLO_LIBRARY_<id>_PACKAGES.
function(quillo_library id)
  cmake_parse_arguments(ARG "" "NAME" "PACKAGES;FIND_PACKAGE;LINK;PKG_CONFIG" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_PACKAGES)
    message(FATAL_ERROR "quillo_library(${id}) needs a NAME and the Debian PACKAGES that bring it.")
  endif()
  if(ARG_NAME MATCHES "[/<>&;]" OR ARG_NAME MATCHES "^\\.")
    message(FATAL_ERROR "The shown name \"${ARG_NAME}\" names a file of licence text: no / < > & ; or leading dot.")
  endif()
  if(ARG_PKG_CONFIG)
    string(TOUPPER "${id}" prefix)
    pkg_check_modules(${prefix} REQUIRED IMPORTED_TARGET ${ARG_PKG_CONFIG})
    set(ARG_LINK PkgConfig::${prefix})
  elseif(ARG_FIND_PACKAGE)
    find_package(${ARG_FIND_PACKAGE} REQUIRED)
  endif()
  add_library(thirdparty::${id} INTERFACE IMPORTED)
  target_link_libraries(thirdparty::${id} INTERFACE ${ARG_LINK})
  set_property(GLOBAL APPEND PROPERTY QUILLO_LIBRARIES ${id})
  set_property(GLOBAL PROPERTY QUILLO_LIBRARY_${id}_NAME "${ARG_NAME}")
  set_property(GLOBAL PROPERTY QUILLO_LIBRARY_${id}_PACKAGES ${ARG_PACKAGES})
endfunction()

# The libraries the application links, in the order the acknowledgements show them (the Markdown parser
# first). PACKAGES are the Debian packages of what the program loads (for a library of headers only, the
# package of the headers).
quillo_library(cmark_gfm NAME "cmark-gfm" PKG_CONFIG libcmark-gfm
               PACKAGES libcmark-gfm0.29.0.gfm.6 libcmark-gfm-extensions0.29.0.gfm.6)
quillo_library(curl NAME "libcurl" FIND_PACKAGE CURL LINK CURL::libcurl
               PACKAGES libcurl4)
quillo_library(json NAME "nlohmann-json" FIND_PACKAGE nlohmann_json 3 LINK nlohmann_json::nlohmann_json
               PACKAGES nlohmann-json3-dev)
quillo_library(icu NAME "ICU" FIND_PACKAGE ICU COMPONENTS uc i18n LINK ICU::uc ICU::i18n
               PACKAGES libicu72)
quillo_library(fmt NAME "fmt" FIND_PACKAGE fmt LINK fmt::fmt
               PACKAGES libfmt9)
quillo_library(freetype NAME "FreeType" FIND_PACKAGE Freetype LINK Freetype::Freetype
               PACKAGES libfreetype6)
# Drawing: Cairo, Pango over fontconfig and HarfBuzz, librsvg for vector images, gdk-pixbuf (with its WebP
# loader) for pictures, and the GLib they are built on.
quillo_library(cairo NAME "Cairo" PKG_CONFIG cairo
               PACKAGES libcairo2)
quillo_library(pango NAME "Pango" PKG_CONFIG pangocairo pangoft2
               PACKAGES libpango-1.0-0 libpangocairo-1.0-0 libpangoft2-1.0-0)
quillo_library(harfbuzz NAME "HarfBuzz" PKG_CONFIG harfbuzz
               PACKAGES libharfbuzz0b)
quillo_library(fontconfig NAME "Fontconfig" PKG_CONFIG fontconfig
               PACKAGES libfontconfig1)
quillo_library(rsvg NAME "librsvg" PKG_CONFIG librsvg-2.0
               PACKAGES librsvg2-2)
quillo_library(gdk_pixbuf NAME "gdk-pixbuf" PKG_CONFIG gdk-pixbuf-2.0
               PACKAGES libgdk-pixbuf-2.0-0 webp-pixbuf-loader)
quillo_library(glib NAME "GLib" PKG_CONFIG glib-2.0 gobject-2.0 gio-2.0
               PACKAGES libglib2.0-0)
# The live desktop: windows, input, dialogs and the clipboard of an X11 session.
quillo_library(gtk NAME "GTK" PKG_CONFIG gtk+-3.0 gtk+-x11-3.0 x11
               PACKAGES libgtk-3-0 libx11-6 libatk1.0-0 libcairo-gobject2 zlib1g)
quillo_library(appindicator NAME "Ayatana AppIndicator" PKG_CONFIG ayatana-appindicator3-0.1
               PACKAGES libayatana-appindicator3-1 libayatana-indicator3-7 libayatana-ido3-0.4-0 libdbusmenu-glib4)

# The live X11 desktop: the X connection, keyboard layouts (xkbcommon), XInput2 event monitors, XTest
# typing, and other applications' elements through AT-SPI.
quillo_library(x11 NAME "libX11" PKG_CONFIG x11 x11-xcb
               PACKAGES libx11-6 libx11-xcb1 libxcb1)
quillo_library(xkbcommon NAME "xkbcommon" PKG_CONFIG xkbcommon xkbcommon-x11
               PACKAGES libxkbcommon0 libxkbcommon-x11-0)
quillo_library(xi NAME "libXi" PKG_CONFIG xi
               PACKAGES libxi6)
quillo_library(xtst NAME "libXtst" PKG_CONFIG xtst
               PACKAGES libxtst6)
quillo_library(atspi NAME "AT-SPI" PKG_CONFIG atspi-2
               PACKAGES libatspi2.0-0 libdbus-1-3)

# The live desktop's speech: eSpeak NG speaks, PocketSphinx with its US English model recognises, and sound
# goes through PulseAudio (or PipeWire's Pulse server), else ALSA.
quillo_library(espeak_ng NAME "eSpeak NG" PKG_CONFIG espeak-ng
               PACKAGES libespeak-ng1 espeak-ng-data)
# Debian's PocketSphinx names a header folder it does not ship (/usr/include/sphinxbase): its target takes
# the folders that exist.
pkg_check_modules(POCKETSPHINX REQUIRED pocketsphinx sphinxbase)
set(pocketsphinx_include_dirs "")
foreach(dir IN LISTS POCKETSPHINX_INCLUDE_DIRS)
  if(IS_DIRECTORY "${dir}")
    list(APPEND pocketsphinx_include_dirs "${dir}")
  endif()
endforeach()
add_library(quillo_found_pocketsphinx INTERFACE IMPORTED)
target_include_directories(quillo_found_pocketsphinx INTERFACE ${pocketsphinx_include_dirs})
target_link_libraries(quillo_found_pocketsphinx INTERFACE ${POCKETSPHINX_LINK_LIBRARIES})
quillo_library(pocketsphinx NAME "PocketSphinx" LINK quillo_found_pocketsphinx
               PACKAGES libpocketsphinx3 libsphinxbase3 pocketsphinx-en-us)
quillo_library(pulse NAME "PulseAudio" PKG_CONFIG libpulse-simple libpulse
               PACKAGES libpulse0)
quillo_library(alsa NAME "ALSA" PKG_CONFIG alsa
               PACKAGES libasound2)
# The live desktop's web pages: WebKitGTK, its JavaScript engine and the HTTP library it loads pages with.
quillo_library(webkitgtk NAME "WebKitGTK" PKG_CONFIG webkit2gtk-4.1
               PACKAGES libwebkit2gtk-4.1-0 libjavascriptcoregtk-4.1-0 libsoup-3.0-0)

# For the test programs and benchmarks only; never part of the application.
if(QUILLO_TESTS)
  find_package(GTest REQUIRED)
  find_package(httplib QUIET)
  if(NOT httplib_FOUND)
    # Older packages ship only the header.
    add_library(httplib::httplib INTERFACE IMPORTED)
    target_link_libraries(httplib::httplib INTERFACE Threads::Threads)
  endif()
endif()
if(QUILLO_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
