#pragma once
// The application directory: where the overlay files and the initial data files are found.
#include <string>

// OSTREL_DATA_DIR when set and not empty, otherwise the folder of the running executable.
// Never ends in a slash (except for "/").
std::string cmcAppDir();

// cmcAppDir() joined with a file name.
std::string cmcAppFile(const std::string& name);
