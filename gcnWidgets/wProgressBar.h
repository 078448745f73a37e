// Progress bar: a blue fill over a dark track, drawn from the skin.
#pragma once

#include <cstdint>
#include <guichan/widget.hpp>

namespace SHR {

struct cSkin;

class ProgressBar : public gcn::Widget {
 public:
  explicit ProgressBar(cSkin* skin);
  ~ProgressBar() override;

  // Percentage done: 0 when value is 0, else 100 * value / total (infinite
  // when total is 0).
  float getProgress() const;
  void setAlpha(std::uint8_t alpha) { mAlpha = alpha; }
  std::uint8_t getAlpha() const { return mAlpha; }

  void draw(gcn::Graphics* graphics) override;

  std::int32_t value = 0;  // units done
  std::int32_t total = 0;  // units in all

 private:
  cSkin* mSkin;
  std::uint8_t mAlpha = 255;
};

}  // namespace SHR
