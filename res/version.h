// The program's version, written only here: both version records, the embedded manifests,
// CMake's project version, brumix --version, the release's names and the tests take it from
// this file (plain defines, so that the resource compiler and scripts read it too).
#pragma once

#define BRUMIX_VERSION_MAJOR 1
#define BRUMIX_VERSION_MINOR 2
#define BRUMIX_VERSION_BUILD 0
#define BRUMIX_VERSION_REVISION 0

#define BRUMIX_VERSION_STRINGIZE_(text) #text
#define BRUMIX_VERSION_STRINGIZE(text) BRUMIX_VERSION_STRINGIZE_(text)
// "major.minor.build.revision", the form of the fixed part that --version prints.
#define BRUMIX_VERSION_TEXT \
    BRUMIX_VERSION_STRINGIZE(BRUMIX_VERSION_MAJOR.BRUMIX_VERSION_MINOR.BRUMIX_VERSION_BUILD.BRUMIX_VERSION_REVISION)
