#include "app/error_report.h"

#include "config/strings.h"

namespace setup {

void ReportError(Toolkit& toolkit, Window* owner, std::string_view text) {
  toolkit.ShowMessage(owner, text, kApplicationTitle, kMbIconError);
}

bool RunReportingErrors(Toolkit& toolkit, Window* owner, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& error) {
    ReportError(toolkit, owner, error.what());
  }
  return false;
}

}  // namespace setup
