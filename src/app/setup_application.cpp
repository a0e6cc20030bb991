#include "app/setup_application.h"

#include "app/error_report.h"
#include "app/strings.h"

namespace setup {

void SetupApplication::Run() {
  toolkit_.SetTitle(kApplicationTitle);
  bool created = RunReportingErrors(toolkit_, nullptr, [this] {
    main_ = std::make_unique<TMainForm>(toolkit_, platform_, state_);
    agreement_ = std::make_unique<TAgreementForm>(toolkit_, platform_.files, main_->window());
    scan_progress_ = std::make_unique<TScanProgressForm>(toolkit_);
    progress_ = std::make_unique<TProgressForm>(toolkit_, main_->window());
  });
  if (!created) return;
  main_->Attach(*agreement_, *scan_progress_, *progress_);
  toolkit_.Run(main_->window());
}

}  // namespace setup
