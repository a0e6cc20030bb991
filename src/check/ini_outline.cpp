#include "check/ini_outline.h"

#include "platform/ansi_text.h"

namespace setup {

const IniOutline::Section* IniOutline::Find(std::string_view section) const {
  for (const Section& candidate : sections)
    if (EqualIgnoringCase(candidate.name, section)) return &candidate;
  return nullptr;
}

int IniOutline::LineOf(std::string_view section, std::string_view key) const {
  const Section* found = Find(section);
  if (!found) return 0;
  for (const Key& candidate : found->keys)
    if (EqualIgnoringCase(candidate.name, key)) return candidate.line;
  return 0;
}

IniOutline OutlineIni(std::string_view text) {
  IniOutline outline;
  text = text.substr(0, text.find('\0'));
  int number = 0;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimmedView(text.substr(at, end - at), IsAsciiSpace);
    ++number;
    at = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      std::string_view name = line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
      outline.sections.push_back({std::string(TrimmedView(name, IsAsciiSpace)), number, {}, {}});
      continue;
    }
    std::size_t equals = line.find('=');
    IniOutline::Stray stray{std::string(line), number};
    if (outline.sections.empty()) {
      outline.before_first_section.push_back(stray);
    } else if (equals == std::string_view::npos) {
      outline.sections.back().strays.push_back(stray);
    } else {
      outline.sections.back().keys.push_back({std::string(TrimmedView(line.substr(0, equals), IsAsciiSpace)), number});
    }
  }
  return outline;
}

}  // namespace setup
