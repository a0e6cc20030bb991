#include "app/setup_application.h"

#include "app/error_report.h"
#include "config/strings.h"

namespace setup {

void SetupApplication::Run() {
  toolkit_.SetTitle(kApplicationTitle);
  bool created = RunReportingErrors(toolkit_, nullptr,
                                    [this] { main_ = std::make_unique<TMainForm>(toolkit_, platform_, state_); });
  if (!created) return;
  toolkit_.Run(main_->window());
}

}  // namespace setup
