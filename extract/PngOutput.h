// A PID entry's PNG as the worker writes it: encoded in memory, with the
// image library's errors put to the user.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "convert/ImageConversion.h"
#include "extract/UserQuestions.h"

// Runs encode until it succeeds or the user stops retrying. Each library
// error is asked with questions.AskImageError ("#<code>: <text>\nFile: <entry>"):
// Try Again encodes anew (errors not yet asked are asked after the new
// attempt's own), Cancel sets paused, Continue asks the next one. Returns the
// PNG's bytes, or none with failure saying why.
std::optional<std::vector<unsigned char>> EncodeAsking(UserQuestions& questions,
                                                       std::atomic<bool>& paused,
                                                       const std::string& entryName,
                                                       const std::function<PngEncoding()>& encode,
                                                       std::string& failure);
