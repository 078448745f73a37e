#include "extract/PngOutput.h"

#include <deque>

std::optional<std::vector<unsigned char>> EncodeAsking(UserQuestions& questions,
                                                       std::atomic<bool>& paused,
                                                       const std::string& entryName,
                                                       const std::function<PngEncoding()>& encode,
                                                       std::string& failure) {
  std::deque<ImageLibraryError> unanswered;
  for (;;) {
    PngEncoding attempt = encode();
    if (!attempt.refusal.empty()) {
      failure = attempt.refusal;
      return std::nullopt;
    }
    if (attempt.Succeeded()) return std::move(attempt.bytes);
    failure = "the image library failed: #" + std::to_string(attempt.libraryErrors.front().code) +
              " " + attempt.libraryErrors.front().text;
    unanswered.insert(unanswered.begin(), attempt.libraryErrors.begin(),
                      attempt.libraryErrors.end());
    bool tryAgain = false;
    while (!unanswered.empty() && !tryAgain) {
      const ImageLibraryError error = unanswered.front();
      unanswered.pop_front();
      switch (questions.AskImageError("#" + std::to_string(error.code) + ": " + error.text +
                                      "\nFile: " + entryName)) {
        case ImageErrorAnswer::TryAgain:
          tryAgain = true;
          break;
        case ImageErrorAnswer::Cancel:
          paused = true;
          break;
        case ImageErrorAnswer::Continue:
          break;
      }
    }
    if (!tryAgain) return std::nullopt;
  }
}
