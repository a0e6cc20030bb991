#include "install/installation.h"

#include "config/text.h"
#include "hosts/host_catalogue.h"

namespace setup {

void InstallFiles(const Platform& platform, const InstallChoice& choice, InstallationObserver& observer) {
  int count = static_cast<int>(choice.hosts.size() + choice.package_hosts.size()) + (choice.custom ? 1 : 0);
  DeploymentContext context{platform, observer, choice.custom_folder, choice.install_subfolder,
                            choice.replace_at_restart};
  int k = 0;
  bool cancelled = false;
  auto go_on = [&] {
    observer.LetUserAct();
    cancelled = observer.CancelRequested();
    return !cancelled;
  };
  for (int index : choice.hosts) {
    if (!go_on()) break;
    ++k;
    observer.TargetStarted(std::string(HostCatalogue[static_cast<std::size_t>(index)].Description), k, count);
    DeployToTarget(context, index);
  }
  for (const PackageHost& host : choice.package_hosts) {
    if (cancelled || !go_on()) break;
    ++k;
    observer.TargetStarted(host.description, k, count);
    DeployToPackageHost(context, host);
  }
  if (choice.custom) {
    observer.TargetStarted(AddTrailingBackslash(choice.custom_folder), count, count);
    DeployToTarget(context, kCustomTarget);
  }
}

}  // namespace setup
