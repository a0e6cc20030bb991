#include "unattended/target_choice.h"

#include "config/text.h"

namespace setup {

TargetChoice ChooseTargets(std::span<const ListedHost> listed, const std::optional<std::vector<std::string>>& ids) {
  TargetChoice choice;
  if (!ids) {
    for (std::size_t n = 0; n < listed.size(); ++n)
      if (listed[n].ticked) choice.hosts.push_back(n);
    return choice;
  }
  std::vector<bool> used(ids->size(), false);
  for (std::size_t n = 0; n < listed.size(); ++n) {
    bool named = false;
    for (const std::string& id : listed[n].ids) {
      for (std::size_t i = 0; i < ids->size(); ++i) {
        if (!EqualIgnoringCase((*ids)[i], id)) continue;
        used[i] = true;
        named = true;
      }
    }
    if (named) choice.hosts.push_back(n);
  }
  for (std::size_t i = 0; i < ids->size(); ++i)
    if (!used[i] && !EqualIgnoringCase((*ids)[i], "none")) choice.unmatched.push_back((*ids)[i]);
  return choice;
}

}  // namespace setup
