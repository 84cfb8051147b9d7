#pragma once
// Every call that depends on the operating system lives here, so that a port touches one file.

#include <filesystem>

namespace kelmora::support {

// Folder of the running executable; the current folder when it cannot be found.
std::filesystem::path ExecutableDir();

// The data folder: KELMORA_DATA_DIR when set, else the executable's folder.
std::filesystem::path DefaultDataDir();

}  // namespace kelmora::support
