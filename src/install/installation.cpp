#include "install/installation.h"

#include "config/text.h"
#include "hosts/host_catalogue.h"

namespace setup {

void InstallFiles(const Platform& platform, const InstallChoice& choice, InstallationObserver& observer) {
  int count = static_cast<int>(choice.hosts.size()) + (choice.custom ? 1 : 0);
  DeploymentContext context{platform, observer, choice.custom_folder, choice.install_subfolder};
  int k = 0;
  for (int index : choice.hosts) {
    observer.LetUserAct();
    if (observer.CancelRequested()) break;
    ++k;
    observer.TargetStarted(std::string(HostCatalogue[static_cast<std::size_t>(index)].Description), k, count);
    DeployToTarget(context, index);
  }
  if (choice.custom) {
    observer.TargetStarted(AddTrailingBackslash(choice.custom_folder), count, count);
    DeployToTarget(context, kCustomTarget);
  }
}

}  // namespace setup
