#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/ArchiveArgs.h"
#include "cli/Commands.h"
#include "cli/OpenArchive.h"
#include "text/Windows1252.h"

namespace cli {

namespace {

// Names are decoded from the games' code page; only a path given on the command
// line can still hold bytes that are not UTF-8.
std::string JsonText(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Writes as it walks, so that memory follows the tree and not the text.
class Lister {
 public:
  explicit Lister(bool json) : json(json) {}

  void Begin() {
    if (json) std::fputs("{\n  \"entries\": [", stdout);
  }

  void End() {
    if (json) std::fputs(first ? "]\n}\n" : "\n  ]\n}\n", stdout);
  }

  // Stops early once stdout fails: the caller reports it.
  void Walk(const REZ::Dir& folder, const std::string& prefix) {
    for (const auto& child : folder.children) {
      if (std::ferror(stdout)) return;
      const std::string path = prefix.empty() ? child->name : prefix + "/" + child->name;
      const bool isDir = child->IsDir();
      if (json) {
        std::printf(
            "%s\n    {\n      \"path\": %s,\n      \"kind\": \"%s\",\n      \"size\": %u,\n"
            "      \"offset\": %llu\n    }",
            first ? "" : ",", JsonText(text::Utf8FromWindows1252(path)).c_str(),
            isDir ? "dir" : "file", child->size, static_cast<unsigned long long>(child->offset));
        first = false;
      } else {
        std::printf("%s %10u  %s%s\n", isDir ? "d" : "-", child->size,
                    ListedName(text::Utf8FromWindows1252(path)).c_str(), isDir ? "/" : "");
      }
      if (isDir) Walk(static_cast<const REZ::Dir&>(*child), path);
    }
  }

 private:
  bool json;
  bool first = true;
};

}  // namespace

int RunList(const std::vector<std::string>& args) {
  ArchiveArgs parsed;
  if (!ParseArchiveArgs("list", args, parsed)) return kExitUsage;
  auto parser = OpenArchive(parsed.archive);
  if (!parser) return kExitUsage;
  Lister lister(parsed.json);
  lister.Begin();
  lister.Walk(parser->Root(), "");
  lister.End();
  return kExitOk;
}

}  // namespace cli
