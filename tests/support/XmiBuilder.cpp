#include "support/XmiBuilder.h"

namespace xmibuild {

Bytes Chunk(const std::string& tag, const Bytes& body) {
  Bytes out(tag.begin(), tag.end());
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(body.size() >> (8 * i)));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) out.push_back(0);
  return out;
}

Bytes Form(const std::string& type, const std::vector<Bytes>& chunks) {
  Bytes body(type.begin(), type.end());
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return body;
}

Bytes Xmi(const std::vector<Bytes>& songEvents, std::optional<unsigned> count) {
  const unsigned songs = count.value_or(static_cast<unsigned>(songEvents.size()));
  Bytes file =
      Chunk("FORM", Form("XDIR", {Chunk("INFO", {static_cast<unsigned char>(songs),
                                                 static_cast<unsigned char>(songs >> 8)})}));
  std::vector<Bytes> forms;
  for (const Bytes& events : songEvents)
    forms.push_back(
        Chunk("FORM", Form("XMID", {Chunk("TIMB", {1, 0, 5, 0}), Chunk("EVNT", events)})));
  const Bytes catalog = Chunk("CAT ", Form("XMID", forms));
  file.insert(file.end(), catalog.begin(), catalog.end());
  return file;
}

}  // namespace xmibuild
