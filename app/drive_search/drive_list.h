// Which places the drive search walks.
//
// The stored drive list (SearchDrive, e.g. "A-Z" or "EH-K") names drive
// letters: each letter is a drive, a letter, "-" and another letter the range
// between them, both included; letters are taken without regard to case, a
// range whose end lies before its start and any other character add nothing.
// The value is kept and parsed as before so that settings shared with the
// Windows-era program stay meaningful, but on Linux the walk runs over search
// roots instead: SearchRoots, directories separated by ";", "~" standing for
// the home directory.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

struct DriveFlags {
  std::array<bool, 26> drive{};  // A to Z
  int count = 0;                 // flagged drives
};

DriveFlags ParseDriveList(std::string_view list);

// The directories of a SearchRoots value, in order: blanks around each entry
// dropped, empty entries and repeats skipped, "~" and "~/..." resolved against
// home, a trailing "/" removed (except from "/" itself).
std::vector<std::string> ParseSearchRoots(std::string_view roots, std::string_view home);

// $HOME, or the password database's home directory when HOME is unset.
std::string HomeDirectory();

}  // namespace morva
