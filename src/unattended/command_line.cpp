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

CommandLine ParseCommandLine(std::string_view command_line) {
  CommandLine result;
  for (const std::string& argument : SplitArguments(command_line)) {
    result.any = true;
    auto unknown = [&] {
      if (result.unknown.empty()) result.unknown = argument;
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

    bool* flag = name == "S"                     ? &result.silent
                 : name == "ACCEPT"              ? &result.accept
                 : name == "UNINSTALL"           ? &result.uninstall
                 : name == "?" || name == "HELP" ? &result.help
                                                 : nullptr;
    if (flag) {
      // A switch takes no value: "/S=0" is no switch of ours.
      if (value)
        unknown();
      else
        *flag = true;
      continue;
    }
    std::optional<std::string>* text = name == "DIR" ? &result.dir : name == "LOG" ? &result.log : nullptr;
    if (!text && name != "HOSTS") {
      unknown();
      continue;
    }
    if (!value || Trimmed(*value).empty()) {
      if (result.unusable.empty()) result.unusable = argument + " needs a value after =";
      continue;
    }
    if (text) {
      *text = *value;
    } else {
      result.hosts = SplitIds(*value);
    }
  }
  return result;
}

}  // namespace setup
