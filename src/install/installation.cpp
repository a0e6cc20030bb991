#include "install/installation.h"

#include "config/text.h"

namespace setup {

void InstallFiles(const Platform& platform, const InstallChoice& choice, InstallationObserver& observer) {
  int count = static_cast<int>(choice.hosts.size()) + (choice.custom ? 1 : 0);
  DeploymentContext context{platform, observer, choice.custom_folder, choice.install_subfolder,
                            choice.replace_at_restart};
  int k = 0;
  for (const ListedHost& host : choice.hosts) {
    observer.LetUserAct();
    if (observer.CancelRequested()) break;
    ++k;
    observer.TargetStarted(host.description, k, count);
    DeployToHost(context, host);
  }
  if (choice.custom) {
    observer.TargetStarted(AddTrailingBackslash(choice.custom_folder), count, count);
    DeployToTarget(context, kCustomTarget);
  }
}

}  // namespace setup
