#include "app/setup_application.h"

#include "app/error_report.h"
#include "config/setup_config.h"
#include "config/strings.h"

namespace setup {

void SetupApplication::Run() {
  toolkit_.SetTitle(kApplicationTitle);
  // Read from a folder the system can only give as a look-alike, the
  // package would look empty and an install would report success.
  if (std::string problem = UnheldProgramFolderText(platform_.files); !problem.empty()) {
    toolkit_.ShowMessage(nullptr, problem, kApplicationTitle, kMbIconError);
    return;
  }
  bool created = RunReportingErrors(toolkit_, nullptr,
                                    [this] { main_ = std::make_unique<TMainForm>(toolkit_, platform_, state_); });
  if (!created) return;
  toolkit_.Run(main_->window());
}

}  // namespace setup
