#pragma once

#include <exception>
#include <functional>
#include <string_view>

#include "ui/toolkit.h"

namespace setup {

/// Reports an error to the user: its text, the application title as caption,
/// the error icon and an OK button.
void ReportError(Toolkit& toolkit, Window* owner, std::string_view text);

/// Runs an action and reports what it throws; the action ends there and the
/// program goes on. Returns false when the action failed.
bool RunReportingErrors(Toolkit& toolkit, Window* owner, const std::function<void()>& action);

}  // namespace setup
