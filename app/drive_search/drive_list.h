// Which places the drive search walks.
//
// The stored drive list (SearchDrive, e.g. "A-Z") is kept unchanged so that
// settings shared with the Windows-era program stay meaningful, but on Linux
// the walk runs over search roots instead: SearchRoots, directories separated
// by ";", "~" standing for the home directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morva {

// The directories of a SearchRoots value, in order: blanks around each entry
// dropped, empty entries and repeats skipped, "~" and "~/..." resolved against
// home, a trailing "/" removed (except from "/" itself).
std::vector<std::string> ParseSearchRoots(std::string_view roots, std::string_view home);

// $HOME, or the password database's home directory when HOME is unset.
std::string HomeDirectory();

}  // namespace morva
