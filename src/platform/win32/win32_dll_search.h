#pragma once

namespace setup {

/// Restricts the DLL search to the system folder. A package is often run
/// from a downloads folder: a DLL planted beside the program must never be
/// loaded. Call it first thing, before anything loads a DLL.
void RestrictDllSearch();

}  // namespace setup
