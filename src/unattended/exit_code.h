#pragma once

namespace setup {

/// The exit codes of a run with arguments, which deployment systems read.
enum ExitCode : int {
  kExitDone = 0,              // every file reached every target
  kExitSomeFailed = 1,        // at least one file failed; the others were installed
  kExitNothingToDo = 2,       // no target, or the files list matches nothing
  kExitUnusable = 3,          // no setup.ini, a /DIR that does not exist, an unusable command line
  kExitNotAccepted = 4,       // the package has an agreement and /ACCEPT was not given
  kExitUnknownOption = 5,     // an argument that is no option of ours
  kExitRestartNeeded = 3010,  // done, but a file held open is replaced at the next restart
};

}  // namespace setup
