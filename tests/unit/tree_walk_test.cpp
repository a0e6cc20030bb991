#include "platform/tree_walk.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/portable/portable_file_system.h"

namespace setup {
namespace {

// A file system in which every folder holds one more folder, for ever: the
// walk must end all the same.
class EndlessFolders : public PortableFileSystem {
 public:
  EndlessFolders() : PortableFileSystem("C:\\") {}
  std::unique_ptr<FolderListing> ListKinds(const std::string&) override {
    class One : public FolderListing {
     public:
      std::optional<FoundEntry> Next() override {
        if (given_) return std::nullopt;
        given_ = true;
        return FoundEntry{"deeper", kAttrFolder};
      }

     private:
      bool given_ = false;
    };
    return std::make_unique<One>();
  }
};

struct DeepestVisitor : TreeVisitor {
  WalkStep EnterFolder(const std::string&, int depth) override {
    deepest = std::max(deepest, depth);
    return WalkStep::kGoOn;
  }
  WalkStep VisitFile(const std::string&, std::string_view) override { return WalkStep::kGoOn; }
  int deepest = -1;
};

TEST(TreeWalkTest, AnEndlessTreeEndsAtTheDeepestLevelAPathHolds) {
  EndlessFolders files;
  DeepestVisitor visitor;
  EXPECT_TRUE(WalkTree(files, "C:\\", visitor));
  EXPECT_EQ(visitor.deepest, kMaxTreeDepth);
}

}  // namespace
}  // namespace setup
