#pragma once

#include <filesystem>

// Folders known to the build: the program folder holds the executables and
// the generated data files (card sets, sounds, pictures).
namespace testpaths {
inline std::filesystem::path ProgramDir() { return TESSALYN_PROGRAM_DIR; }
inline std::filesystem::path SourceDir() { return TESSALYN_SOURCE_DIR; }
inline std::filesystem::path BinaryDir() { return TESSALYN_BINARY_DIR; }
}
