#include "unattended/command_line.h"

#include "config/text.h"

namespace setup {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The ids of /HOSTS: separated by commas, blanks around each dropped.
std::vector<std::string> SplitIds(std::string_view list) {
  std::vector<std::string> ids;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = list.find(',', start);
    std::string id = Trimmed(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
    if (!id.empty()) ids.push_back(id);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return ids;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view line) {
  std::size_t at = 0;
  // The program name: up to the closing quote when it starts with one,
  // else up to the first blank. Backslashes and quotes inside mean nothing.
  if (at < line.size() && line[at] == '"') {
    std::size_t close = line.find('"', at + 1);
    at = close == std::string_view::npos ? line.size() : close + 1;
  }
  while (at < line.size() && !IsBlank(line[at])) ++at;

  std::vector<std::string> arguments;
  for (;;) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
      if (line[at] == '\\') {
        std::size_t run = 0;
        while (at < line.size() && line[at] == '\\') ++run, ++at;
        if (at < line.size() && line[at] == '"') {
          argument.append(run / 2, '\\');
          if (run % 2 == 1) {
            argument += '"';
            ++at;
          }
        } else {
          argument.append(run, '\\');
        }
        continue;
      }
      if (line[at] == '"') {
        if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
          argument += '"';
          at += 2;
          continue;
        }
        quoted = !quoted;
        ++at;
        continue;
      }
      argument += line[at++];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string OptionSpelling(const OptionRow& row) {
  std::string spelling = "/" + std::string(row.name);
  if (!row.value.empty()) spelling += "=" + std::string(row.value);
  return spelling;
}

std::string OptionLines() {
  std::string lines;
  std::string_view usage;  // of the group being written
  for (const OptionRow& row : kOptions) {
    if (!row.usage.empty()) {
      if (!usage.empty()) lines += "\t" + std::string(usage) + "\n";
      usage = row.usage;
    } else {
      lines += ", ";
    }
    lines += OptionSpelling(row);
  }
  return lines + "\t" + std::string(usage);
}

CommandLine ParseCommandLine(std::string_view command_line) {
  CommandLine result;
  for (const std::string& argument : SplitArguments(command_line)) {
    result.any = true;
    auto unknown = [&] {
      if (result.unknown.empty()) result.unknown = argument;
    };
    auto unusable = [&](std::string why) {
      if (result.unusable.empty()) result.unusable = std::move(why);
    };
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
      unknown();
      continue;
    }
    std::string_view body = std::string_view(argument).substr(1);
    std::size_t equals = body.find('=');
    std::string name = UpperCased(body.substr(0, equals));
    std::optional<std::string> value;
    if (equals != std::string_view::npos) value = std::string(body.substr(equals + 1));

    const OptionRow* row = nullptr;
    for (const OptionRow& option : kOptions)
      if (option.name == name) row = &option;
    if (!row) {
      unknown();
      continue;
    }
    if (row->value.empty()) {
      // A switch takes no value: "/S=0" is no switch of ours. Still, a
      // deployment that wrote it wants no box, and gets none.
      if (value) {
        unknown();
        result.silent = result.silent || row->effect == OptionEffect::kSilent;
        continue;
      }
      switch (row->effect) {
        case OptionEffect::kSilent: result.silent = true; break;
        case OptionEffect::kAccept: result.accept = true; break;
        case OptionEffect::kUninstall: result.uninstall = true; break;
        case OptionEffect::kHelp: result.help = true; break;
        default: break;
      }
      continue;
    }
    if (!value || Trimmed(*value).empty()) {
      unusable(argument + " needs a value after =");
      continue;
    }
    switch (row->effect) {
      case OptionEffect::kHosts: result.hosts = SplitIds(*value); break;
      case OptionEffect::kDir: result.dir = *value; break;
      case OptionEffect::kLog:
        // A relative log would land in whatever folder the deployment system
        // starts in; it is refused like a relative /DIR, and never written.
        if (IsAbsolutePath(*value))
          result.log = *value;
        else
          unusable("the log file of /LOG is not a full path: " + *value);
        break;
      default: break;
    }
  }
  return result;
}

}  // namespace setup
