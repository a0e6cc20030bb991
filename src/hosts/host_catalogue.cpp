#include "hosts/host_catalogue.h"

namespace setup {

int FindHostByDescription(std::string_view description) {
  for (std::size_t index = 0; index < HostCatalogue.size(); ++index) {
    if (HostCatalogue[index].Description == description) return static_cast<int>(index);
  }
  return -1;
}

}  // namespace setup
