// What the libraries a whole live application loads keep for the life of the process, told to the leak
// checker. Defines the checker's hook: include this in exactly one source of a test program that starts the
// whole application.
#pragma once

extern "C" const char* __lsan_default_suppressions() {
  // Fontconfig keeps the patterns of the fonts it matched for as long as the process runs, without a way to
  // release them that Pango's font map would not use again; libdbus keeps its connection to the session bus
  // for good; the sidebar's page starts the web engine, whose JavaScriptCore keeps cycles of its own objects
  // for the life of the process. None of them is a leak of ours.
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:libjavascriptcoregtk-4.1.so\n";
}
