#include "unattended/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace setup {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineTest, ArgumentsSplitAsTheRuntimeSplitsThem) {
  struct Case {
    const char* line;
    Words arguments;
  } cases[] = {
      {"Setup.exe", {}},
      {"Setup.exe   ", {}},
      {"\"C:\\Package dir\\Setup.exe\" /S", {"/S"}},
      {"\"C:\\Package dir\\Setup.exe\"/S", {}},  // the program name ends at a blank
      {"C:\\Pkg\\Set\"up.exe x", {"x"}},         // a quote in an unquoted name means nothing
      {"Setup.exe a\tb  c", {"a", "b", "c"}},
      {"Setup.exe \"a b\" c", {"a b", "c"}},
      {"Setup.exe /DIR=\"C:\\My Plugins\" x", {"/DIR=C:\\My Plugins", "x"}},
      {"Setup.exe \"/DIR=C:\\My Plugins\"", {"/DIR=C:\\My Plugins"}},
      {"Setup.exe a\\b\\", {"a\\b\\"}},                 // backslashes before no quote are literal
      {"Setup.exe \"C:\\a\\\\\" x", {"C:\\a\\", "x"}},  // 2n backslashes and a quote: n, and the quote groups
      {"Setup.exe \"C:\\a\\\" x", {"C:\\a\" x"}},       // 2n+1: n and a literal quote
      {"Setup.exe a\\\\\\\"b", {"a\\\"b"}},
      {"Setup.exe \"a\"\"b\" c", {"a\"b", "c"}},  // "" inside quotes is a quote
      {"Setup.exe \"\" x", {"", "x"}},
      {"Setup.exe \"open", {"open"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitArguments(c.line), c.arguments) << c.line;
}

TEST(CommandLineTest, OptionsAreReadWhateverTheirCaseOrLeadingCharacter) {
  CommandLine none = ParseCommandLine("Setup.exe");
  EXPECT_FALSE(none.any);

  CommandLine all = ParseCommandLine(
      "Setup.exe /s -Accept /hosts=photoshop,PSP5 \"-Dir=C:\\My Plugins\" /LOG=\"C:\\Logs\\a b.log\" -UnInstall");
  EXPECT_TRUE(all.any);
  EXPECT_TRUE(all.silent);
  EXPECT_TRUE(all.accept);
  EXPECT_TRUE(all.uninstall);
  EXPECT_FALSE(all.help);
  EXPECT_EQ(all.hosts, (Words{"photoshop", "PSP5"}));
  EXPECT_EQ(all.dir, "C:\\My Plugins");
  EXPECT_EQ(all.log, "C:\\Logs\\a b.log");
  EXPECT_EQ(all.unknown, "");
  EXPECT_EQ(all.unusable, "");

  for (const char* help : {"Setup.exe /?", "Setup.exe -?", "Setup.exe /HELP", "Setup.exe -help"})
    EXPECT_TRUE(ParseCommandLine(help).help) << help;

  EXPECT_EQ(ParseCommandLine("Setup.exe \"/HOSTS= a , ,B \"").hosts, (Words{"a", "B"}));
  EXPECT_EQ(ParseCommandLine("Setup.exe /HOSTS=none").hosts, Words{"none"});
  EXPECT_EQ(ParseCommandLine("Setup.exe /DIR=C:\\a /DIR=C:\\b").dir, "C:\\b");
  EXPECT_EQ(ParseCommandLine("Setup.exe /LOG=C:\\x=y.log").log, "C:\\x=y.log");
}

TEST(CommandLineTest, UnknownAndUnusableArgumentsAreNamed) {
  struct Case {
    const char* line;
    const char* unknown;
    const char* unusable;
  } cases[] = {
      {"Setup.exe /X", "/X", ""},
      {"Setup.exe install", "install", ""},
      {"Setup.exe /", "/", ""},
      {"Setup.exe --S", "--S", ""},
      {"Setup.exe /S=1", "/S=1", ""},  // a switch takes no value
      {"Setup.exe /SILENT /Q", "/Q", ""},
      {"Setup.exe /NORESTART=1", "/NORESTART=1", ""},
      {"Setup.exe /LOG=setup.log", "", "the log file of /LOG is not a full path: setup.log"},
      {"Setup.exe /LOG=C:setup.log", "", "the log file of /LOG is not a full path: C:setup.log"},
      {"Setup.exe /LOG=\\setup.log", "", "the log file of /LOG is not a full path: \\setup.log"},
      {"Setup.exe /DIR", "", "/DIR needs a value after ="},
      {"Setup.exe /LOG=", "", "/LOG= needs a value after ="},
      {"Setup.exe \"/HOSTS=  \"", "", "/HOSTS=   needs a value after ="},
      {"Setup.exe /S /DIR /Y", "/Y", "/DIR needs a value after ="},
  };
  for (const Case& c : cases) {
    CommandLine parsed = ParseCommandLine(c.line);
    EXPECT_TRUE(parsed.any) << c.line;
    EXPECT_EQ(parsed.unknown, c.unknown) << c.line;
    EXPECT_EQ(parsed.unusable, c.unusable) << c.line;
  }
  // A log that is no full path is never written to.
  EXPECT_FALSE(ParseCommandLine("Setup.exe /LOG=setup.log").log);
}

TEST(CommandLineTest, OtherInstallersSwitchesAreTaken) {
  struct Case {
    const char* line;
    bool silent;
  } cases[] = {
      {"Setup.exe /SILENT", true},
      {"Setup.exe /verysilent /SUPPRESSMSGBOXES /NORESTART /SP-", true},
      {"Setup.exe -Quiet", true},
      {"Setup.exe /S /NORESTART", true},
      {"Setup.exe /NORESTART /SP- /SuppressMsgBoxes", false},
      {"Setup.exe /X /VERYSILENT", true},  // an unknown option before it: still no box
      {"Setup.exe /SILENT=1", true},
  };
  for (const Case& c : cases) {
    CommandLine parsed = ParseCommandLine(c.line);
    EXPECT_EQ(parsed.silent, c.silent) << c.line;
    EXPECT_FALSE(parsed.accept || parsed.uninstall || parsed.help || parsed.hosts || parsed.dir || parsed.log)
        << c.line;
  }
}

TEST(CommandLineTest, UsageListsEveryOptionInItsGroup) {
  EXPECT_EQ(OptionLines().substr(0, OptionLines().find('\n')),
            "/S, /SILENT, /VERYSILENT, /QUIET\tsilent: no window and no message box");
  for (const OptionRow& row : kOptions)
    EXPECT_NE(OptionLines().find(OptionSpelling(row)), std::string::npos) << row.name;
}

// The README's table of options, each row's spellings as its first cell
// writes them in backquotes.
std::vector<Words> ReadmeOptionRows() {
  std::ifstream file(SETUP_README);
  std::stringstream text;
  text << file.rdbuf();
  std::string readme = text.str();
  std::size_t at = readme.find("\n### Options\n");
  EXPECT_NE(at, std::string::npos) << SETUP_README;
  std::vector<Words> rows;
  if (at == std::string::npos) return rows;
  at = readme.find("\n| Option |", at);
  at = readme.find('\n', readme.find('\n', at + 1) + 1);  // past the heading and its rule
  while (at + 1 < readme.size() && readme[at + 1] == '|') {
    std::size_t end = readme.find('\n', at + 1);
    std::string cell = readme.substr(at + 2, readme.find('|', at + 2) - at - 2);
    Words spellings;
    for (std::size_t quote = cell.find('`'); quote != std::string::npos; quote = cell.find('`', quote + 1)) {
      std::size_t close = cell.find('`', quote + 1);
      spellings.push_back(cell.substr(quote + 1, close - quote - 1));
      quote = close;
    }
    rows.push_back(spellings);
    at = end;
  }
  return rows;
}

TEST(CommandLineTest, ReadmeTableListsTheOptionsOfTheTable) {
  std::vector<Words> groups;
  for (const OptionRow& row : kOptions) {
    if (!row.usage.empty()) groups.emplace_back();
    groups.back().push_back(OptionSpelling(row));
  }
  EXPECT_EQ(ReadmeOptionRows(), groups);
}

}  // namespace
}  // namespace setup
