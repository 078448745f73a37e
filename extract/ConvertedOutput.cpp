#include "extract/ConvertedOutput.h"

#include "convert/PcxToPng.h"
#include "convert/XmiToMidi.h"
#include "extract/EntryNames.h"

Converter ConverterFor(const std::string& extension, const ExtractOptions& options) {
  if (extension == "XMI" && options.convertXmi) return ConvertXmiToMidi;
  if (extension == "PCX" && options.convertPcx) return ConvertPcxToPng;
  return nullptr;
}

OutputOutcome WriteConverted(const std::string& entryName, const std::vector<unsigned char>& entry,
                             Converter convert, const OutputWriter& write, std::string& error) {
  ConvertedFiles converted = convert(entryName, entry.data(), entry.size());
  error = PrintableName(converted.error);
  if (!error.empty()) return OutputOutcome::Failed;
  OutputOutcome overall = OutputOutcome::Kept;
  for (ConvertedFile& output : converted.files) {
    OutputOutcome outcome = OutputOutcome::Failed;
    // Made from a name the worker accepted; checked all the same.
    if (IsSafeEntryName(output.name))
      outcome = write(output.name, output.bytes);
    else
      error = "the output name \"" + PrintableName(output.name) + "\" is not a plain file name";
    if (outcome == OutputOutcome::Failed || overall == OutputOutcome::Kept) overall = outcome;
  }
  return overall;
}
