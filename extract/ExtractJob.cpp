#include "extract/ExtractJob.h"

#include <algorithm>
#include <stdexcept>

bool IsTypeSelected(const ExtractOptions& options, const std::string& extension) {
  return std::any_of(options.types.begin(), options.types.end(), [&](const TypeChoice& type) {
    return type.selected && type.name == extension;
  });
}

ExtractJob::ExtractJob(std::string sourcePath, std::filesystem::path destinationPath,
                       std::shared_ptr<REZ::Parser> archive, ExtractOptions options,
                       std::shared_ptr<UserQuestions> questions)
    : sourcePath(std::move(sourcePath)),
      destinationPath(std::move(destinationPath)),
      archive(std::move(archive)),
      questions(std::move(questions)),
      options(std::move(options)) {
  if (!this->archive) throw std::invalid_argument("ExtractJob needs an archive");
  if (!this->questions) throw std::invalid_argument("ExtractJob needs a way to ask the user");
}

std::shared_ptr<ExtractJob> MakeExtractJob(std::string sourcePath,
                                           std::filesystem::path destinationPath,
                                           std::shared_ptr<REZ::Parser> archive,
                                           ExtractOptions options,
                                           std::shared_ptr<UserQuestions> questions) {
  return std::make_shared<ExtractJob>(std::move(sourcePath), std::move(destinationPath),
                                      std::move(archive), std::move(options), std::move(questions));
}
