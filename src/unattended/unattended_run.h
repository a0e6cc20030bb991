#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/run_watcher.h"
#include "platform/platform.h"
#include "ui/toolkit.h"
#include "unattended/command_line.h"

namespace setup {

/// The text of the /? box: the options as the table of options gives them,
/// and the exit codes.
std::string UsageText();

/// A run started with arguments; returns its exit code (ExitCode).
/// With /S nothing is shown at all: `toolkit` may then be null. Without /S
/// the boxes of /?, /UNINSTALL and a wrong option go through it, and the
/// other options run the windowed program through `run_windows`, with a
/// watcher that logs it when /LOG is given (else null). /ACCEPT, /HOSTS and
/// /DIR act only with /S.
int RunWithArguments(const Platform& platform, Toolkit* toolkit, const CommandLine& arguments,
                     std::string_view command_line, const std::function<void(RunWatcher*)>& run_windows);

/// The silent install: what the window's show step runs (the drive scan when
/// [options] autoscan is "1", the detection pass), then the installation
/// into the chosen targets, logged and recorded.
int RunSilentInstall(const Platform& platform, const CommandLine& arguments, std::string_view command_line);

/// Removes what unattended installs of this package recorded. `ask` puts a
/// Yes/No question (nothing to ask with /S) and `tell` shows the outcome.
int RunUninstall(const Platform& platform, const CommandLine& arguments, std::string_view command_line,
                 const std::function<bool(std::string_view question)>& ask,
                 const std::function<void(std::string_view outcome)>& tell);

}  // namespace setup
