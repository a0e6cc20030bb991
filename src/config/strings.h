#pragma once

#include <string_view>

namespace setup {

/// The program's string table, by number.
enum StringId {
  kStrError = 1,
  kStrWarning = 2,
  kStrSelectCustomFolder = 3,
  kStrCheckApplications = 4,
  kStrApplicationTitle = 5,
  kStrCancelQuestion = 6,
  kStrCancelCaption = 7,
  kStrCustomFolderMissing = 8,
  kStrNoFolders = 9,
  kStrCompleted = 10,
  kStrExitQuestion = 11,
  kStrSubdirectoryFailed = 12,
  kStrCopyFailed = 13,
  kStrCopyFailedUnknown = 14,
  kStrHostFolderGone = 15,
};

/// The text of a string table entry; empty for a number that has none.
constexpr std::string_view StringText(StringId id) {
  switch (id) {
    case kStrError: return "Error!";
    case kStrWarning: return "Warning!";
    case kStrSelectCustomFolder: return "Select custom folder";
    case kStrCheckApplications: return "Check the applications for which you'd like to install";
    case kStrApplicationTitle: return "Plug-in Setup";
    case kStrCancelQuestion: return "Are you sure you want to cancel installation?";
    case kStrCancelCaption: return "Cancel?";
    case kStrCustomFolderMissing:
      return "The custom directory you specified does not exist.\n"
             "Do you want to continue without installing to this directory?";
    case kStrNoFolders: return "You have not specified any folders.";
    case kStrCompleted: return "Completed!";
    case kStrExitQuestion: return "The installation has completed.\nDo you want to exit the installation program?";
    case kStrSubdirectoryFailed: return "Subdirectory #d could not be created.";
    case kStrCopyFailed: return "The file #f could not be copied.\nError: #e";
    case kStrCopyFailedUnknown: return "The file #f could not be copied.\nError unknown: #e";
    case kStrHostFolderGone: return "The plug-in folder of #h could not be found.";
  }
  return {};
}

/// The application title, the caption of error reports and of the
/// configured start and close messages.
inline constexpr std::string_view kApplicationTitle = StringText(kStrApplicationTitle);

}  // namespace setup
