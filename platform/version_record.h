// The file version in an executable's version record (brumix --version, the About box).
#pragma once

#include <cstddef>
#include <string>

// "major.minor.build.revision" from the fixed part of a version resource's bytes; empty
// when the bytes hold no fixed part.
std::string FileVersionFromRecord(const void* record, std::size_t size);
