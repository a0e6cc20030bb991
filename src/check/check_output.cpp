#include "check/check_output.h"

#include <cstdio>

#include "config/setup_keys.h"
#include "platform/ansi_text.h"

namespace setup {
namespace {

const char* SeverityName(Severity severity) { return severity == Severity::kError ? "error" : "warning"; }

int Count(const PackageReport& report, Severity severity) {
  int count = 0;
  for (const Finding& finding : report.findings)
    if (finding.severity == severity) ++count;
  return count;
}

std::string Plural(int count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (c == '\n') {
      json += "\\n";
    } else if (c == '\r') {
      json += "\\r";
    } else if (c == '\t') {
      json += "\\t";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      json += escape;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string FindingsText(const PackageReport& report) {
  std::string text;
  for (const Finding& finding : report.findings) {
    text += finding.file;
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    text += ": " + std::string(SeverityName(finding.severity)) + ": " + finding.message;
    if (!finding.suggestion.empty()) text += " (" + finding.suggestion + ")";
    text += "\n";
  }
  if (!report.findings.empty()) text += "\n";
  text += "Files to install from [files] (the catalogue's hosts and the custom folder):\n";
  if (report.deployment.empty() || report.deployment.front().section != kFilesSection) text += "  none\n";
  std::string section(kFilesSection);
  for (const DeployedFile& file : report.deployment) {
    if (!EqualIgnoringCase(file.section, section)) {
      section = file.section;
      text += "Files to install from [" + section + "] (the package's hosts that name it):\n";
    }
    text += "  " + file.path + "  ";
    text += file.size ? std::to_string(*file.size) + (*file.size == 1 ? " byte" : " bytes") : "(cannot be read)";
    text += "\n";
  }
  text += Plural(Count(report, Severity::kError), "error", "errors") + ", " +
          Plural(Count(report, Severity::kWarning), "warning", "warnings") + "\n";
  return text;
}

std::string FindingsJson(const PackageReport& report) {
  std::string json = "{\n  \"findings\": [";
  const char* separator = "\n";
  for (const Finding& finding : report.findings) {
    json += separator;
    json += "    {\"file\": " + JsonString(finding.file) + ", \"line\": " + std::to_string(finding.line) +
            ", \"section\": " + JsonString(finding.section) + ", \"key\": " + JsonString(finding.key) +
            ", \"severity\": \"" + SeverityName(finding.severity) + "\", \"message\": " + JsonString(finding.message) +
            ", \"suggestion\": " + JsonString(finding.suggestion) + "}";
    separator = ",\n";
  }
  json += report.findings.empty() ? "],\n" : "\n  ],\n";
  json += "  \"deployment\": [";
  separator = "\n";
  for (const DeployedFile& file : report.deployment) {
    json += separator;
    json += "    {\"section\": " + JsonString(file.section) + ", \"file\": " + JsonString(file.path) +
            ", \"size\": " + (file.size ? std::to_string(*file.size) : std::string("null")) + "}";
    separator = ",\n";
  }
  json += report.deployment.empty() ? "],\n" : "\n  ],\n";
  json += "  \"errors\": " + std::to_string(Count(report, Severity::kError)) +
          ",\n  \"warnings\": " + std::to_string(Count(report, Severity::kWarning)) + "\n}\n";
  return json;
}

std::string HostsText(const std::vector<HostRow>& hosts, const std::vector<UnheldHostFolder>& unheld) {
  std::string text;
  for (const HostRow& host : hosts) {
    text += std::string(host.ticked ? "[x] " : "[ ] ") + host.description + "\n";
    text += "    install folder: " +
            (host.install_folder.empty() ? "(none: the folder is no full path)" : host.install_folder) + "\n";
    text += "    from: " + std::string(HostSourceName(host.source)) + " (" + host.detail + ")\n";
  }
  if (hosts.empty()) {
    text += "No host would be listed; \"Also install in...\" would be ticked.\n";
  } else {
    int ticked = 0;
    for (const HostRow& host : hosts) ticked += host.ticked ? 1 : 0;
    text +=
        Plural(static_cast<int>(hosts.size()), "host", "hosts") + " listed, " + std::to_string(ticked) + " ticked.\n";
  }
  for (const UnheldHostFolder& host : unheld) text += "Not listed: " + UnheldHostText(host) + ".\n";
  return text;
}

std::string HostsJson(const std::vector<HostRow>& hosts, const std::vector<UnheldHostFolder>& unheld) {
  std::string json = "{\n  \"hosts\": [";
  const char* separator = "\n";
  for (const HostRow& host : hosts) {
    json += separator;
    json += "    {\"description\": " + JsonString(host.description) +
            ", \"ticked\": " + (host.ticked ? "true" : "false") +
            ", \"install_folder\": " + JsonString(host.install_folder) + ", \"source\": \"" +
            HostSourceName(host.source) + "\", \"detail\": " + JsonString(host.detail) + "}";
    separator = ",\n";
  }
  json += hosts.empty() ? "],\n" : "\n  ],\n";
  json += "  \"not_listed\": [";
  separator = "\n";
  for (const UnheldHostFolder& host : unheld) {
    json += separator;
    json += "    {\"description\": " + JsonString(host.description) + ", \"folder\": " + JsonString(host.folder) +
            ", \"reason\": \"its folder holds a character that this system's code page cannot hold\"}";
    separator = ",\n";
  }
  json += unheld.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return json;
}

}  // namespace setup
