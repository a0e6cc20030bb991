#pragma once

#include <string>

#include "hosts/host_catalogue.h"
#include "platform/platform.h"
#include "ui/toolkit.h"

namespace setup {

class TProgressForm;

/// The main window's part in an installation run.
struct InstallationControls {
  Window& main;
  ControlId host_list;
  ControlId custom_box;
  ControlId custom_folder;
};

/// The Install button: checks the custom folder, counts the targets, copies
/// the plug-in files into every ticked host in catalogue order and then the
/// custom folder, and finally offers to end the program.
void RunInstallation(const Platform& platform, Toolkit& toolkit, const InstallationControls& controls,
                     TProgressForm& progress, const FoundMarks& found, const std::string& install_subfolder);

}  // namespace setup
