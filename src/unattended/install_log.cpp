#include "unattended/install_log.h"

namespace setup {

std::string OneLine(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF: one blank
    line += c == '\r' || c == '\n' ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

bool InstallLog::Write(std::string_view event, std::string_view details) {
  if (path_.empty()) return true;
  std::string line = platform_.clock.LocalTimestamp() + " " + std::string(event) + ": " + OneLine(details) + "\r\n";
  if (!platform_.files.AppendToFile(path_, line)) failed_ = true;
  return !failed_;
}

}  // namespace setup
