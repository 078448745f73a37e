// Entries that the extraction converts into files of their own (the songs of
// an XMI, the PNG of a PCX), and how one entry's outputs are counted.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "convert/ConvertedFiles.h"
#include "extract/DestinationFolders.h"
#include "extract/ExtractOptions.h"

using Converter = ConvertedFiles (*)(const std::string& entryName, const unsigned char* data,
                                     std::size_t size);

// The converter the options choose for an entry of this type, or nullptr.
Converter ConverterFor(const std::string& extension, const ExtractOptions& options);

// Writes one converted file (a plain file name) and tells how it went.
using OutputWriter =
    std::function<OutputOutcome(const std::string& name, std::vector<unsigned char>& bytes)>;

// Converts the entry and writes each resulting file. The entry's outcome is
// failed when the conversion or any file failed, else written when any file
// was written, else kept. error says why the conversion failed.
OutputOutcome WriteConverted(const std::string& entryName, const std::vector<unsigned char>& entry,
                             Converter convert, const OutputWriter& write, std::string& error);
