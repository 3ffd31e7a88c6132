// Preloaded into the sanitizer-built game: dlclose does nothing, so the shared objects it loaded
// stay mapped until LeakSanitizer runs at exit and its reports can name them. Mesa unloads its
// driver during exit, before the leak check; without this its blocks show as "<unknown module>",
// which no suppression can match.
extern "C" int dlclose(void *) { return 0; }
