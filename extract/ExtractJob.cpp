#include "extract/ExtractJob.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

bool IsTypeSelected(const ExtractOptions& options, const std::string& extension) {
  return std::any_of(options.types.begin(), options.types.end(), [&](const TypeChoice& type) {
    return type.selected && type.name == extension;
  });
}

ExtractOptions MakeExtractOptions(const std::vector<TypeStat>& types,
                                  const std::vector<bool>& selected, bool convertPid,
                                  bool rectConversion, bool extractEmptyFolders) {
  ExtractOptions options;
  std::int64_t fileCount = 0;
  for (std::size_t i = 0; i < types.size(); ++i) {
    const bool on = i < selected.size() && selected[i];
    options.types.push_back(TypeChoice{types[i].extension, on});
    if (on) fileCount += types[i].count;
  }
  options.fileCount = static_cast<std::int32_t>(
      std::min<std::int64_t>(fileCount, std::numeric_limits<std::int32_t>::max()));
  options.convertPid = convertPid;
  options.rectConversion = rectConversion;
  options.extractEmptyFolders = extractEmptyFolders;
  return options;
}

ExtractJob::ExtractJob(std::string sourcePath, std::filesystem::path destinationPath,
                       std::shared_ptr<REZ::Parser> archive, ExtractOptions options,
                       std::shared_ptr<UserQuestions> questions, ConversionContext context)
    : sourcePath(std::move(sourcePath)),
      destinationPath(std::move(destinationPath)),
      archive(std::move(archive)),
      questions(std::move(questions)),
      options(std::move(options)),
      context(std::move(context)) {
  if (!this->archive) throw std::invalid_argument("ExtractJob needs an archive");
  if (!this->questions) throw std::invalid_argument("ExtractJob needs a way to ask the user");
}

std::shared_ptr<ExtractJob> MakeExtractJob(std::string sourcePath,
                                           std::filesystem::path destinationPath,
                                           std::shared_ptr<REZ::Parser> archive,
                                           ExtractOptions options,
                                           std::shared_ptr<UserQuestions> questions,
                                           ConversionContext context) {
  return std::make_shared<ExtractJob>(std::move(sourcePath), std::move(destinationPath),
                                      std::move(archive), std::move(options), std::move(questions),
                                      std::move(context));
}
