// The test programs' precompiled headers are compiled with this unit's options (see CMakeLists.txt).
