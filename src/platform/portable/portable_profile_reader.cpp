#include "platform/portable/portable_profile_reader.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include "platform/ansi_text.h"

namespace setup {
namespace {

// Lines longer than this are seen by their first part only: far beyond any
// value the program reads (2047 characters) and any key name it asks for.
constexpr std::size_t kLineLimit = 64 * 1024;
constexpr std::size_t kBlockSize = 64 * 1024;

std::string_view Trim(std::string_view text) { return TrimmedView(text, IsAsciiSpace); }

std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

struct Entry {
  std::string_view name;
  std::optional<std::string_view> value;  // none for a line without "="
};

// A value as one key's read gives it: one pair of matching quotes taken
// off, and ended by a NUL.
std::string_view UnquotedValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return CutAtNul(value);
}

// Texts with a zero after each as the system writes them into a buffer of
// buffer_size: when they do not fit, it fills buffer_size - 2 characters,
// cutting the last one short. False once the buffer is full.
class ZeroEndedTexts {
 public:
  explicit ZeroEndedTexts(std::size_t buffer_size) : buffer_size_(buffer_size) {}
  bool Add(std::string_view text) {
    if (used_ + text.size() + 1 + 1 <= buffer_size_) {
      texts_.emplace_back(text);
      used_ += text.size() + 1;
      return true;
    }
    if (used_ < buffer_size_ - 2) texts_.emplace_back(text.substr(0, buffer_size_ - 2 - used_));
    return false;
  }
  std::vector<std::string> Take() { return std::move(texts_); }

 private:
  std::size_t buffer_size_;
  std::size_t used_ = 0;
  std::vector<std::string> texts_;
};

bool IsComment(std::string_view name) { return !name.empty() && name.front() == ';'; }

// Calls visit for every key line of the first section named `section`, in
// file order; visit returns false to stop early. False when the file cannot
// be opened.
bool VisitSection(const std::filesystem::path& file, std::string_view section,
                  const std::function<bool(const Entry&)>& visit) {
  if (file.empty()) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> stream(std::fopen(file.c_str(), "rb"), &std::fclose);
  if (!stream) return false;
  section = Trim(CutAtNul(section));

  enum class State { kBefore, kInside, kDone } state = State::kBefore;
  std::string line;
  bool line_overflowed = false;

  auto finish_line = [&]() -> bool {
    std::string_view text = Trim(line);
    bool go_on = true;
    if (!text.empty() && text.front() == '[') {
      std::size_t close = text.rfind(']');
      std::string_view name = text.substr(1, close == std::string_view::npos ? text.size() - 1 : close - 1);
      if (state == State::kInside) {
        state = State::kDone;
        go_on = false;
      } else if (EqualIgnoringCase(Trim(CutAtNul(name)), section)) {
        state = State::kInside;
      }
    } else if (state == State::kInside && !text.empty()) {
      std::size_t equals = text.find('=');
      Entry entry;
      if (equals == std::string_view::npos) {
        entry.name = Trim(CutAtNul(text));
      } else {
        entry.name = Trim(CutAtNul(text.substr(0, equals)));
        entry.value = Trim(text.substr(equals + 1));
      }
      go_on = visit(entry);
    }
    line.clear();
    line_overflowed = false;
    return go_on;
  };

  std::unique_ptr<char[]> block(new char[kBlockSize]);
  std::size_t got;
  while ((got = std::fread(block.get(), 1, kBlockSize, stream.get())) > 0) {
    std::string_view data(block.get(), got);
    while (!data.empty()) {
      std::size_t end = data.find('\n');
      std::string_view piece = data.substr(0, end);
      if (!line_overflowed) {
        std::size_t room = kLineLimit - line.size();
        line.append(piece.substr(0, room));
        line_overflowed = piece.size() > room;
      }
      if (end == std::string_view::npos) break;
      data.remove_prefix(end + 1);
      if (!finish_line()) return true;
    }
  }
  finish_line();
  return true;
}

}  // namespace

std::string PortableProfileReader::ReadString(const std::string& file, std::string_view section, std::string_view key,
                                              std::size_t buffer_size) {
  std::string result;
  if (buffer_size == 0) return result;
  key = Trim(CutAtNul(key));
  VisitSection(files_.HostPath(file), section, [&](const Entry& entry) {
    if (!EqualIgnoringCase(entry.name, key)) return true;
    if (entry.value) result = std::string(UnquotedValue(*entry.value).substr(0, buffer_size - 1));
    return false;
  });
  return result;
}

std::vector<std::string> PortableProfileReader::ReadKeyNames(const std::string& file, std::string_view section,
                                                             std::size_t buffer_size) {
  if (buffer_size < 2) return {};
  ZeroEndedTexts names(buffer_size);
  VisitSection(files_.HostPath(file), section,
               [&](const Entry& entry) { return !entry.value || IsComment(entry.name) || names.Add(entry.name); });
  return names.Take();
}

std::vector<std::string> PortableProfileReader::ReadSection(const std::string& file, std::string_view section,
                                                            std::size_t buffer_size) {
  if (buffer_size < 2) return {};
  ZeroEndedTexts lines(buffer_size);
  VisitSection(files_.HostPath(file), section, [&](const Entry& entry) {
    if (IsComment(entry.name)) return true;
    return lines.Add(entry.value ? std::string(entry.name) + "=" + std::string(CutAtNul(*entry.value))
                                 : std::string(entry.name));
  });
  return lines.Take();
}

}  // namespace setup
