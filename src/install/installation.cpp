#include "install/installation.h"

#include "app/progress_form.h"
#include "app/strings.h"
#include "config/text.h"
#include "install/deployment.h"
#include "ui/work_window.h"

namespace setup {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

// The first item whose text equals the description, letter case ignored; -1 if none.
int FindItem(Window& window, ControlId list, std::string_view description) {
  for (int i = 0; i < window.ItemCount(list); ++i)
    if (SameTextIgnoringCase(window.ItemText(list, i), description)) return i;
  return -1;
}

std::string Counted(const std::string& text, int k, int total) {
  return text + " (" + std::to_string(k) + "/" + std::to_string(total) + ")";
}

}  // namespace

void RunInstallation(const Platform& platform, Toolkit& toolkit, const InstallationControls& controls,
                     TProgressForm& progress, const FoundMarks& found, const std::string& install_subfolder) {
  Window& main = controls.main;
  if (main.IsChecked(controls.custom_box) && !platform.files.FolderExists(main.Text(controls.custom_folder))) {
    int answer = toolkit.ShowMessage(&main, StringText(kStrCustomFolderMissing), StringText(kStrWarning),
                                     kMbYesNo | kMbIconWarning);
    if (answer != kIdYes) return;
    main.SetChecked(controls.custom_box, false);
  }

  int count = main.IsChecked(controls.custom_box) ? 1 : 0;
  for (int i = 0; i < main.ItemCount(controls.host_list); ++i)
    if (main.IsItemChecked(controls.host_list, i)) ++count;
  if (count < 1) {
    toolkit.ShowMessage(&main, StringText(kStrNoFolders), StringText(kStrError), kMbIconError);
    return;
  }

  Window& window = progress.window();
  // A Cancel of an earlier run must not empty this one.
  progress.set_result(0);
  window.SetProgressMax(TProgressForm::AppBar, count - 1);
  {
    // Nothing else may start while the files are copied.
    WorkWindowScope scope(window, main);
    DeploymentContext context{platform, toolkit, window, TProgressForm::File, TProgressForm::FileBar,
                              main.Text(controls.custom_folder), install_subfolder};
    int k = 0;
    for (std::size_t i = 0; i < kHostCount; ++i) {
      window.ProcessPendingMessages();
      if (progress.result() != 0) break;
      if (!found.test(i)) continue;
      int item = FindItem(main, controls.host_list, HostCatalogue[i].Description);
      if (item < 0 || !main.IsItemChecked(controls.host_list, item)) continue;
      ++k;
      window.SetText(TProgressForm::App, Counted(std::string(HostCatalogue[i].Description), k, count));
      window.SetProgressPosition(TProgressForm::AppBar, k - 1);
      window.RepaintNow();
      DeployToTarget(context, static_cast<int>(i));
    }
    if (main.IsChecked(controls.custom_box)) {
      window.SetText(TProgressForm::App,
                     Counted(AddTrailingBackslash(main.Text(controls.custom_folder)), count, count));
      window.SetProgressPosition(TProgressForm::AppBar, count - 1);
      window.RepaintNow();
      DeployToTarget(context, kCustomTarget);
    }
  }

  int answer = toolkit.ShowMessage(&main, StringText(kStrExitQuestion), StringText(kStrCompleted),
                                   kMbYesNo | kMbIconInformation);
  if (answer == kIdYes) toolkit.RequestEnd();
}

}  // namespace setup
