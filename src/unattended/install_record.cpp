#include "unattended/install_record.h"

#include <charconv>

#include "config/setup_config.h"
#include "config/setup_keys.h"
#include "config/text.h"
#include "platform/ansi_text.h"
#include "unattended/install_log.h"

namespace setup {
namespace {

constexpr std::string_view kHeader = "Plug-in Setup install record 1";

// Sixteen lower-case hexadecimal digits.
std::string Hex(std::uint64_t value) {
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 0xF];
  return text;
}

std::optional<std::uint64_t> Number(std::string_view text, int base) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// One spelling per path: doubled backslashes (a share's leading pair
// aside) become one, and a folder loses its trailing one unless at a root.
std::string NormalPath(std::string_view path) {
  std::string normal;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && i > 1 && normal.back() == '\\') continue;
    normal += path[i];
  }
  while (normal.size() > 3 && normal.back() == '\\') normal.pop_back();
  return normal;
}

void AddOnce(std::vector<std::string>& folders, std::string folder) {
  folder = NormalPath(folder);
  for (const std::string& known : folders)
    if (EqualIgnoringCase(known, folder)) return;
  folders.push_back(std::move(folder));
}

}  // namespace

// No letter Windows forbids in a folder name, no control character, no
// blank or dot at the end (the system would drop it).
std::string FolderName(std::string_view text) {
  std::string name;
  for (char c : text) {
    bool forbidden =
        static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  std::size_t first = name.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : name.substr(first);
}

std::uint64_t ContentHash(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

void InstallRecord::AddFile(RecordedFile file) {
  file.path = NormalPath(file.path);
  for (RecordedFile& known : files) {
    if (EqualIgnoringCase(known.path, file.path)) {
      known = std::move(file);
      return;
    }
  }
  files.push_back(std::move(file));
}

void InstallRecord::AddFolder(std::string folder) { AddOnce(folders, std::move(folder)); }

void InstallRecord::AddRoot(std::string folder) { AddOnce(roots, std::move(folder)); }

void InstallRecord::AddOriginal(KeptOriginal original) {
  original.path = NormalPath(original.path);
  if (!OriginalOf(original.path)) originals.push_back(std::move(original));
}

const RecordedFile* InstallRecord::FileAt(std::string_view path) const {
  std::string normal = NormalPath(path);
  for (const RecordedFile& file : files)
    if (EqualIgnoringCase(file.path, normal)) return &file;
  return nullptr;
}

const KeptOriginal* InstallRecord::OriginalOf(std::string_view path) const {
  std::string normal = NormalPath(path);
  for (const KeptOriginal& original : originals)
    if (EqualIgnoringCase(original.path, normal)) return &original;
  return nullptr;
}

std::string InstallRecord::ToText() const {
  std::string text = std::string(kHeader) + "\r\n";
  for (const std::string& root : roots) text += "root\t" + root + "\r\n";
  for (const std::string& folder : folders) text += "folder\t" + folder + "\r\n";
  for (const RecordedFile& file : files) {
    text +=
        "file\t" + std::to_string(file.size) + "\t" + Hex(file.hash) + "\t" + file.source + "\t" + file.path + "\r\n";
  }
  for (const KeptOriginal& original : originals) text += "original\t" + original.kept + "\t" + original.path + "\r\n";
  return text;
}

std::optional<InstallRecord> InstallRecord::FromText(std::string_view text) {
  LineCursor lines(text);
  std::optional<std::string_view> header = lines.Next();
  if (!header || *header != kHeader) return std::nullopt;
  InstallRecord record;
  while (std::optional<std::string_view> line = lines.Next()) {
    std::vector<std::string_view> fields = Fields(*line);
    if (fields[0] == "folder" && fields.size() == 2 && IsAbsolutePath(fields[1])) {
      record.AddFolder(std::string(fields[1]));
    } else if (fields[0] == "root" && fields.size() == 2 && IsAbsolutePath(fields[1])) {
      record.AddRoot(std::string(fields[1]));
    } else if (fields[0] == "original" && fields.size() == 3 && IsAbsolutePath(fields[2]) && !fields[1].empty() &&
               StaysInside(fields[1])) {
      record.AddOriginal({std::string(fields[2]), std::string(fields[1])});
    } else if (fields[0] == "file" && fields.size() == 5 && IsAbsolutePath(fields[4]) && StaysInside(fields[3])) {
      std::optional<std::uint64_t> size = Number(fields[1], 10);
      std::optional<std::uint64_t> hash = fields[2].size() == 16 ? Number(fields[2], 16) : std::nullopt;
      if (size && hash) record.AddFile({std::string(fields[4]), std::string(fields[3]), *size, *hash});
    }
  }
  return record;
}

void RecordingObserver::FileCopied(const std::string& file, const std::string& destination) {
  next_.FileCopied(file, destination);
  Record(file, destination, destination);
}

void RecordingObserver::FileScheduled(const std::string& file, const std::string& destination,
                                      const std::string& pending) {
  next_.FileScheduled(file, destination, pending);
  // What will stand there after the restart is what is recorded.
  Record(file, destination, pending);
}

void RecordingObserver::FolderCreated(const std::string& folder) {
  next_.FolderCreated(folder);
  record_.AddFolder(folder);
}

void RecordingObserver::TargetFolder(const std::string& folder) {
  next_.TargetFolder(folder);
  record_.AddRoot(folder);
}

bool RecordingObserver::MayReplace(const std::string& destination) {
  if (!next_.MayReplace(destination)) return false;
  // A file an earlier install of this package put there is no original.
  if (record_.FileAt(destination) || record_.OriginalOf(destination)) return true;
  std::string name = destination.substr(destination.find_last_of('\\') + 1);
  std::string folder = place_ ? place_->folder : std::string();
  std::string kept;
  for (std::size_t n = record_.originals.size() + 1;; ++n) {
    kept = "Originals\\" + std::to_string(n) + " " + name;
    if (!files_.FileExists(folder + "\\" + kept)) break;
  }
  std::string kept_path = folder + "\\" + kept;
  // Made and looked at level by level: a link on the way would lead the copy anywhere.
  bool kept_safe = place_ && MakePlaceFolder(files_, *place_) && files_.CreateFolderTree(DirectoryPart(kept_path)) &&
                   !LinkOnTheWay(files_, place_->base, kept_path) && files_.CopyReplacing(destination, kept_path);
  if (!kept_safe) {
    std::uint32_t code = files_.LastError();
    next_.ShowError(destination + " was not replaced: the file there could not be kept to be put back on removal (" +
                    OneLine(files_.ErrorText(code).value_or("error " + std::to_string(code))) + ")");
    return false;
  }
  record_.AddOriginal({destination, kept});
  next_.OriginalKept(destination, kept_path);
  return true;
}

void RecordingObserver::Record(const std::string& file, const std::string& destination,
                               const std::string& content_path) {
  std::optional<std::string> content = files_.ReadWholeFile(content_path, kMaxHashedFileSize);
  // A file that cannot be read back cannot be told unchanged later: it is
  // left out, so removal never takes it.
  if (!content) {
    unrecorded.push_back(destination);
    return;
  }
  record_.AddFile({destination, file, content->size(), ContentHash(*content)});
}

}  // namespace setup
