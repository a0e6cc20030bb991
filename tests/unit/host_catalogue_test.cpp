#include "hosts/host_catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/registry_access.h"

namespace setup {
namespace {

constexpr std::string_view kScratch = "Software\\Brisquell\\Temp";

struct HostCatalogueTest : testing::Test {
  static bool IsScratch(const HostEntry& entry) { return entry.KeyPath == kScratch; }

  static std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
  }

  // k for a description ending in ", <k-th> path" or ", <k-th> additional path"; 0 otherwise.
  static int PathOrdinal(std::string_view description) {
    static constexpr std::array<std::string_view, 8> kOrdinals = {"1st", "2nd", "3rd", "4th",
                                                                  "5th", "6th", "7th", "8th"};
    for (int k = 1; k <= 8; ++k) {
      std::string ordinal = ", " + std::string(kOrdinals[k - 1]);
      if (description.ends_with(ordinal + " path") || description.ends_with(ordinal + " additional path")) return k;
    }
    return 0;
  }

  // The description without its ", <k-th> path" ending.
  static std::string_view RunBase(std::string_view description) {
    return description.substr(0, description.rfind(", "));
  }
};

TEST_F(HostCatalogueTest, HasTheStatedCounts) {
  std::set<std::string_view> hosts, versions;
  int scratch = 0, direct_user = 0, direct_machine = 0;
  for (const HostEntry& entry : HostCatalogue) {
    hosts.insert(entry.HostId);
    versions.insert(entry.VersionId);
    if (IsScratch(entry))
      ++scratch;
    else if (entry.Root == RootKey::kCurrentUser)
      ++direct_user;
    else
      ++direct_machine;
  }
  EXPECT_EQ(HostCatalogue.size(), 217u);
  EXPECT_EQ(hosts.size(), 34u);
  EXPECT_EQ(versions.size(), 101u);
  EXPECT_EQ(scratch, 91);
  EXPECT_EQ(direct_user + direct_machine, 126);
  EXPECT_EQ(direct_user, 96);
  EXPECT_EQ(direct_machine, 30);
}

TEST_F(HostCatalogueTest, ScratchEntriesUseShortNamesUnderTheUsersScratchKey) {
  EXPECT_EQ(kScratchKeyPath, kScratch);
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << entry.Description);
    if (IsScratch(entry)) {
      EXPECT_EQ(entry.Root, RootKey::kCurrentUser);
      EXPECT_FALSE(entry.ValueName.empty());
      EXPECT_LE(entry.ValueName.size(), 7u);
    } else {
      // A direct entry that names the scratch key in another spelling would be
      // miscounted as the host's own value.
      EXPECT_NE(Lower(entry.KeyPath), Lower(kScratch));
    }
  }
}

TEST_F(HostCatalogueTest, KeyPathsAreRelativeBackslashPaths) {
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    std::string_view path = HostCatalogue[i].KeyPath;
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << path);
    EXPECT_TRUE(path.starts_with("Software\\"));
    EXPECT_FALSE(path.ends_with("\\"));
    EXPECT_EQ(path.find("\\\\"), std::string_view::npos);
    EXPECT_EQ(path.find('/'), std::string_view::npos);
  }
}

TEST_F(HostCatalogueTest, OnlyPhotoshopMainPathsReadTheDefaultValue) {
  const std::set<std::string_view> expected = {
      "PhotoShop 5 by Adobe",          "PhotoShop 5.5 by Adobe",        "PhotoShop 6 by Adobe",
      "PhotoShop 7 by Adobe",          "PhotoShop CS by Adobe",         "PhotoShop CS2 by Adobe",
      "PhotoShop CS3 by Adobe",        "PhotoShop CS4 by Adobe",        "PhotoShop CS5 by Adobe",
      "PhotoShop CS6 by Adobe",        "PhotoShop Elements 1 by Adobe", "PhotoShop Elements 2 by Adobe",
      "PhotoShop Elements 3 by Adobe", "PhotoShop Elements 4 by Adobe", "PhotoShop Elements 5 by Adobe",
      "PhotoShop Elements 6 by Adobe", "PhotoShop Elements 7 by Adobe",
  };
  std::set<std::string_view> reading_default;
  for (const HostEntry& entry : HostCatalogue) {
    if (!entry.ValueName.empty()) continue;
    reading_default.insert(entry.Description);
    EXPECT_EQ(entry.Root, RootKey::kLocalMachine) << entry.Description;
    EXPECT_TRUE(entry.KeyPath.ends_with("\\PluginPath")) << entry.Description;
  }
  EXPECT_EQ(reading_default.size(), 17u);
  EXPECT_EQ(reading_default, expected);
}

TEST_F(HostCatalogueTest, DescriptionsAreUniqueIgnoringCase) {
  std::map<std::string, std::size_t> seen;
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    auto [it, inserted] = seen.emplace(Lower(HostCatalogue[i].Description), i);
    EXPECT_TRUE(inserted) << "entries " << it->second << " and " << i << ": " << HostCatalogue[i].Description;
  }
}

TEST_F(HostCatalogueTest, FieldsFitTheirWidths) {
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << entry.Description);
    EXPECT_LE(entry.KeyPath.size(), 79u);
    EXPECT_LE(entry.ValueName.size(), 29u);
    EXPECT_FALSE(entry.Description.empty());
    EXPECT_LE(entry.Description.size(), 49u);
    EXPECT_LE(entry.HostId.size(), 29u);
    EXPECT_LE(entry.VersionId.size(), 29u);
  }
}

TEST_F(HostCatalogueTest, WidthCheckRejectsOneCharacterTooMany) {
  // The table's compile-time guard is only as good as this check.
  const std::string k79(79, 'k'), k80(80, 'k'), t29(29, 't'), t30(30, 't'), d49(49, 'd'), d50(50, 'd');
  const HostEntry widest = {kHkcu, k79, t29, d49, true, true, t29, t29};
  struct Case {
    const char* what;
    HostEntry entry;
    bool fits;
  };
  const Case cases[] = {
      {"every field at its limit", widest, true},
      {"key path", {kHkcu, k80, t29, d49, true, true, t29, t29}, false},
      {"value name", {kHkcu, k79, t30, d49, true, true, t29, t29}, false},
      {"description", {kHkcu, k79, t29, d50, true, true, t29, t29}, false},
      {"host id", {kHkcu, k79, t29, d49, true, true, t30, t29}, false},
      {"version id", {kHkcu, k79, t29, d49, true, true, t29, t30}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(FitsFieldWidths(c.entry), c.fits) << c.what;
}

TEST_F(HostCatalogueTest, PreselectsTheFirstOrMainPathOfEachVersion) {
  std::map<std::string_view, int> preselected_per_version;
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    bool later_path = PathOrdinal(entry.Description) > 1 || entry.Description.ends_with("additional path");
    bool expected = !later_path && entry.Description != "PhotoImpact by Ulead, 1st path";
    EXPECT_EQ(entry.Preselect, expected) << "entry " << i << " " << entry.Description;
    preselected_per_version[entry.VersionId] += entry.Preselect ? 1 : 0;
  }
  for (const auto& [version, count] : preselected_per_version)
    EXPECT_EQ(count, version == "photoimpactall" ? 0 : 1) << version;
}

TEST_F(HostCatalogueTest, OnlyThreeEntriesCopyStraightIntoTheFoundFolder) {
  std::set<std::string_view> without_subfolder;
  for (const HostEntry& entry : HostCatalogue) {
    if (!entry.UseSubdir) without_subfolder.insert(entry.Description);
  }
  EXPECT_EQ(without_subfolder, (std::set<std::string_view>{"Image Composer 1.0 by Microsoft, 1st path",
                                                           "Image Composer 1.0 by Microsoft, 2nd path",
                                                           "Image Explorer Pro 4 by CDH Productions"}));
}

TEST_F(HostCatalogueTest, IdsAreLowerCase) {
  auto is_lower_id = [](std::string_view id) {
    if (id.empty()) return false;
    for (char c : id) {
      if (!std::islower(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
  };
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    EXPECT_TRUE(is_lower_id(HostCatalogue[i].HostId)) << "entry " << i << " " << HostCatalogue[i].HostId;
    EXPECT_TRUE(is_lower_id(HostCatalogue[i].VersionId)) << "entry " << i << " " << HostCatalogue[i].VersionId;
  }
}

TEST_F(HostCatalogueTest, EntriesOfOneVersionAndOfOneHostAreConsecutive) {
  std::map<std::string_view, std::string_view> host_of_version;
  std::set<std::string_view> finished_versions, finished_hosts;
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << entry.Description);
    auto it = host_of_version.emplace(entry.VersionId, entry.HostId).first;
    EXPECT_EQ(it->second, entry.HostId) << "a version belongs to one host";
    EXPECT_FALSE(finished_versions.contains(entry.VersionId));
    EXPECT_FALSE(finished_hosts.contains(entry.HostId));
    if (i + 1 < HostCatalogue.size()) {
      if (HostCatalogue[i + 1].VersionId != entry.VersionId) finished_versions.insert(entry.VersionId);
      if (HostCatalogue[i + 1].HostId != entry.HostId) finished_hosts.insert(entry.HostId);
    }
  }
}

TEST_F(HostCatalogueTest, PathsOfARunFollowEachOtherInNumberedOrder) {
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    int k = PathOrdinal(entry.Description);
    if (k == 0) continue;
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << entry.Description);
    if (k > 1) {
      ASSERT_GT(i, 0u);
      const HostEntry& previous = HostCatalogue[i - 1];
      EXPECT_EQ(PathOrdinal(previous.Description), k - 1);
      EXPECT_EQ(previous.VersionId, entry.VersionId);
      if (entry.Description != "Paint Shop Pro X1 (11) by Corel, 6th path" &&
          previous.Description != "Paint Shop Pro X1 (11) by Corel, 6th path") {
        EXPECT_EQ(RunBase(previous.Description), RunBase(entry.Description));
      }
    }
    // The k-th path reads the k-th value of a numbered run, or the k-th of a
    // run of keys numbered from 0; Image Composer names its two values instead.
    bool numbered_value =
        entry.ValueName.ends_with(std::to_string(k)) && !entry.ValueName.ends_with(std::to_string(10 + k));
    bool numbered_key = entry.KeyPath.ends_with("\\" + std::to_string(k - 1));
    if (entry.HostId == "imagecomposer") {
      EXPECT_FALSE(numbered_value || numbered_key);
    } else {
      EXPECT_NE(numbered_value, numbered_key);
    }
  }
}

TEST_F(HostCatalogueTest, AdditionalPathsFollowTheirMainPath) {
  int pairs = 0;
  for (std::size_t i = 0; i < HostCatalogue.size(); ++i) {
    const HostEntry& entry = HostCatalogue[i];
    if (!entry.Description.ends_with(", additional path")) continue;
    SCOPED_TRACE(testing::Message() << "entry " << i << " " << entry.Description);
    ASSERT_GT(i, 0u);
    const HostEntry& main = HostCatalogue[i - 1];
    EXPECT_EQ(std::string(main.Description) + ", additional path", entry.Description);
    EXPECT_EQ(main.VersionId, entry.VersionId);
    // The main path is the default value of a PluginPath key below the
    // version's key; the additional path is a named value of the version's key.
    EXPECT_EQ(main.Root, RootKey::kLocalMachine);
    EXPECT_EQ(std::string(entry.KeyPath) + "\\PluginPath", main.KeyPath);
    EXPECT_EQ(main.ValueName, "");
    bool older_photoshop =
        entry.VersionId == "photoshop7" || entry.VersionId == "photoshop8" || entry.VersionId == "photoshop9";
    bool user_setting = entry.HostId == "photoshop" && !older_photoshop;
    EXPECT_EQ(entry.Root, user_setting ? RootKey::kCurrentUser : RootKey::kLocalMachine);
    EXPECT_EQ(entry.ValueName, older_photoshop ? "PluginPath" : "PlugInDirectory");
    ++pairs;
  }
  EXPECT_EQ(pairs, 7 + 7);  // Photoshop 7 to CS6, Photoshop Elements 1 to 7
}

TEST_F(HostCatalogueTest, EveryScratchValueNameHasItsWriter) {
  struct Writers {
    const char* who;
    std::vector<std::string_view> names;
  };
  const Writers writers[] = {
      {"registry-based detectors",
       {"Fh8",    "Pl5P1",  "Pl5P2",  "PD2KP1", "PD2KP2", "PP9P1",  "PP9P2",  "PP9P3",  "PP9P4",
        "PP9P5",  "PP9P6",  "PP9P7",  "PP9P8",  "PP12P1", "PP12P2", "PP12P3", "PP12P4", "PP12P5",
        "PP12P6", "PP12P7", "PP12P8", "Pi5",    "Pi6",    "Pi7",    "Pi8",    "Pi9",    "Pi10",
        "Pi11",   "Pi12",   "Pi85",   "Pi13",   "Pi14",   "Pi15",   "Pt9",    "Pt10",   "Pt11"}},
      {"preference-file detectors",
       {"Fw1", "Fw2", "Fw3", "Fw4", "Fw5", "Fw6", "Fw7", "Fw8", "Cv9", "Cv10", "Cv11", "Cv12", "XX", "XXPrP1", "XXPrP2",
        "XXPrP3", "XXPrP4", "XXPrP5", "XXPrP51"}},
      {"scan-hit recognisers",
       {"AFX41", "DD",   "Fw1",  "Fw2",  "Fw3",  "Fw4",  "Fw5",  "Fw6", "Fw7",  "I7",   "IEP4", "INP1",
        "INP2",  "INP3", "INP4", "INP5", "INP6", "INP7", "INP8", "PDL", "PiP1", "PiP2", "PiP3", "PiP4",
        "PiP5",  "PiP6", "PiP7", "PiP8", "Pm42", "PS2",  "PS3",  "PS4", "QFX7", "xR2"}},
      {"nobody", {"Pt12", "XXP1", "XXP2", "XXP3", "XXP4", "XXP5", "XXP6", "XXP7", "XXP8"}},
  };
  std::multiset<std::string_view> scratch_names;
  for (const HostEntry& entry : HostCatalogue) {
    if (IsScratch(entry)) scratch_names.insert(entry.ValueName);
  }
  std::set<std::string_view> written;
  for (const Writers& group : writers) {
    for (std::string_view name : group.names) {
      EXPECT_EQ(scratch_names.count(name), 1u) << name << " (" << group.who << ")";
      written.insert(name);
    }
  }
  // The other way round: no scratch entry waits for a value nobody knows of.
  EXPECT_EQ(written, std::set<std::string_view>(scratch_names.begin(), scratch_names.end()));
}

// The rows whose oddities a reader would take for typos and "mend": the
// capitals and spellings the hosts use, a key that numbers its paths from 0,
// the one version whose first path is not preselected, the additional paths
// read from the user's hive, plus the first and last rows, at their index.
TEST_F(HostCatalogueTest, KeepsTheRowsThatLookLikeTypos) {
  struct Row {
    std::size_t index;
    HostEntry entry;
  };
  const Row rows[] = {
      {0, {kHkcu, kScratch, "AFX41", "After FX 4.1 by Adobe", true, true, "afterfx", "afterfx41"}},
      {2,
       {kHkcu, "Software\\Deneba\\Canvas 6\\Tools", "Tools_Dir", "Canvas 6 by Deneba", true, true, "canvas",
        "canvas6"}},
      {6, {kHkcu, kScratch, "Cv10", "Canvas X by ACD Systems", true, true, "canvas", "canvas10"}},
      {14, {kHkcu, kScratch, "Fw2", "FireWorks 2 by MacroMedia", true, true, "fireworks", "fireworks2"}},
      {21, {kHkcu, kScratch, "Fh8", "Freehand 8 by MacroMedia", true, true, "freehand", "freehand8"}},
      {31,
       {kHklm, "Software\\Microsoft\\Microsoft Image Composer\\Plug Ins", "Primary Plug In Path",
        "Image Composer 1.0 by Microsoft, 1st path", true, false, "imagecomposer", "imagecomposer1"}},
      {60,
       {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\0", "Dir",
        "Paint Shop Pro 9 by JASC, 1st path", true, true, "paintshoppro", "paintshoppro9"}},
      {64,
       {kHkcu, "Software\\Jasc\\Paint Shop Pro 9\\FileLocations\\PlugIns\\4", "Dir",
        "Paint Shop Pro 9 by JASC, 5th path", false, true, "paintshoppro", "paintshoppro9"}},
      {81,
       {kHkcu, "Software\\Corel\\Paint Shop Pro\\11\\FileLocations\\PlugIns\\5", "Dir",
        "Paint Shop Pro X1 (11) by Corel, 6th path", false, true, "paintshoppro", "paintshoppro11"}},
      {103, {kHkcu, kScratch, "PiP1", "PhotoImpact by Ulead, 1st path", false, true, "photoimpact", "photoimpactall"}},
      {115,
       {kHkcu, kScratch, "Pi85", "PhotoImpact 8.5 by Ulead, standard", true, true, "photoimpact", "photoimpact85"}},
      {123,
       {kHkcu, kScratch, "Pl5P1", "PhotoLine32 5/6 by Computerinsel, 1st path", true, true, "photoline", "photoline5"}},
      {153,
       {kHklm, "Software\\Adobe\\Photoshop\\7.0", "PluginPath", "PhotoShop 7 by Adobe, additional path", false, true,
        "photoshop", "photoshop7"}},
      {159,
       {kHkcu, "Software\\Adobe\\Photoshop\\10.0", "PlugInDirectory", "PhotoShop CS3 by Adobe, additional path", false,
        true, "photoshop", "photoshop10"}},
      {167,
       {kHklm, "Software\\Adobe\\Photoshop Elements\\1.0", "PlugInDirectory",
        "PhotoShop Elements 1 by Adobe, additional path", false, true, "photoshopelements", "photoshopelements1"}},
      {197,
       {kHklm, "Software\\Adobe\\Premiere\\5.0", "Plug-InsDir", "Premiere 5.x by Adobe", true, true, "premiere",
        "premiere5"}},
      {198, {kHkcu, kScratch, "QFX7", "QFX 7.0/8.0 by Tolvane", true, true, "qfx", "qfx7"}},
      {216, {kHkcu, kScratch, "xR2", "xRes 2 by MacroMedia", true, true, "xres", "xres2"}},
  };
  for (const Row& row : rows) {
    ASSERT_LT(row.index, HostCatalogue.size());
    const HostEntry& actual = HostCatalogue[row.index];
    const HostEntry& expected = row.entry;
    SCOPED_TRACE(testing::Message() << "entry " << row.index << " " << expected.Description);
    EXPECT_EQ(actual.Root, expected.Root);
    EXPECT_EQ(actual.KeyPath, expected.KeyPath);
    EXPECT_EQ(actual.ValueName, expected.ValueName);
    EXPECT_EQ(actual.Description, expected.Description);
    EXPECT_EQ(actual.Preselect, expected.Preselect);
    EXPECT_EQ(actual.UseSubdir, expected.UseSubdir);
    EXPECT_EQ(actual.HostId, expected.HostId);
    EXPECT_EQ(actual.VersionId, expected.VersionId);
  }
}

}  // namespace
}  // namespace setup
