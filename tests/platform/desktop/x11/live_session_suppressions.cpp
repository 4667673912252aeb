// Fontconfig keeps the patterns of the fonts it matched for as long as the process runs, without a way to
// release them that Pango's font map would not use again: not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
