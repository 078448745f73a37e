#include <gtest/gtest.h>

#include <cmath>

#include "TextTestSupport.h"
#include "text/Sprite.h"

namespace {

using SpriteTest = TextTest;

constexpr float kQuarterTurn = 1.57079632679489662f;

// The quad's corners, clockwise from the top left, span (x1, y1)-(x2, y2) on
// screen and (u1, v1)-(u2, v2) in the texture.
void ExpectCorners(const hgeQuad& quad, float x1, float y1, float x2, float y2) {
  const float expected[4][2] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad.v[i].x, expected[i][0]) << "vertex " << i;
    EXPECT_FLOAT_EQ(quad.v[i].y, expected[i][1]) << "vertex " << i;
  }
}

void ExpectTextureCoordinates(const hgeQuad& quad, float u1, float v1, float u2, float v2) {
  const float expected[4][2] = {{u1, v1}, {u2, v1}, {u2, v2}, {u1, v2}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad.v[i].tx, expected[i][0]) << "vertex " << i;
    EXPECT_FLOAT_EQ(quad.v[i].ty, expected[i][1]) << "vertex " << i;
  }
}

TEST_F(SpriteTest, TextureRectangleMapsToCoordinatesOfTheTextureSize) {
  const HTEXTURE atlas = engine->AddTexture(512, 256);
  Sprite sprite(atlas, 64, 32, 128, 64);
  sprite.Render(0, 0);
  sprite.SetTextureRect(256, 128, 128, 128);
  sprite.Render(0, 0);
  Sprite untextured(0, 3, 4, 10, 20);  // texture 0 counts as one pixel square
  untextured.Render(0, 0);
  Sprite unknown(77, 2, 2, 4, 4);  // the engine sizes texture 77 0x0: no division by zero
  unknown.Render(0, 0);
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 4u);
  ExpectTextureCoordinates(quads[0], 0.125f, 0.125f, 0.375f, 0.375f);
  EXPECT_EQ(quads[0].tex, atlas);
  EXPECT_EQ(quads[0].blend, 2);
  for (const auto& vertex : quads[0].v) {
    EXPECT_EQ(vertex.col, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(vertex.z, 0.5f);
  }
  ExpectTextureCoordinates(quads[1], 0.5f, 0.5f, 0.75f, 1.0f);
  ExpectCorners(quads[1], 0, 0, 128, 128);
  ExpectTextureCoordinates(quads[2], 3, 4, 13, 24);
  for (const auto& vertex : quads[3].v) EXPECT_TRUE(std::isfinite(vertex.tx + vertex.ty));
}

TEST_F(SpriteTest, RenderPutsTheHotSpotAtThePositionAndStretchIgnoresIt) {
  const HTEXTURE atlas = engine->AddTexture(512, 512);
  Sprite sprite(atlas, 0, 6, 20, 10);
  sprite.Render(100, 50);
  sprite.SetHotSpot(5, 2);
  sprite.Render(100, 50);
  sprite.RenderStretch(10, 20, 14, 60);
  const auto quads = engine->Quads();
  ExpectCorners(quads.at(0), 100, 50, 120, 60);
  ExpectCorners(quads.at(1), 95, 48, 115, 58);
  ExpectCorners(quads.at(2), 10, 20, 14, 60);
  ExpectTextureCoordinates(quads.at(2), 0, 6.0f / 512, 20.0f / 512, 16.0f / 512);
}

TEST_F(SpriteTest, RenderExScalesAndTurnsAboutTheHotSpot) {
  Sprite sprite(0, 0, 0, 10, 20);
  sprite.RenderEx(50, 60, kQuarterTurn, 1, 1);
  sprite.SetHotSpot(2, 4);
  sprite.RenderEx(100, 100, 0, 2, 0);  // vertical scale 0: both directions by 2
  sprite.RenderEx(100, 100, 0, 2, 0.5f);
  const auto quads = engine->Quads();
  // A quarter turn clockwise on screen: (x, y) becomes (-y, x).
  const float turned[4][2] = {{50, 60}, {50, 70}, {30, 70}, {30, 60}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(quads.at(0).v[i].x, turned[i][0], 1e-4) << "vertex " << i;
    EXPECT_NEAR(quads.at(0).v[i].y, turned[i][1], 1e-4) << "vertex " << i;
  }
  ExpectCorners(quads.at(1), 96, 92, 116, 132);
  ExpectCorners(quads.at(2), 96, 98, 116, 108);
}

TEST_F(SpriteTest, ColourAndDepthPerVertexOrForAll) {
  Sprite sprite(0, 0, 0, 1, 1);
  sprite.SetColor(0xFF112233);
  sprite.SetColor(0x80FFFFFF, 2);
  sprite.SetZ(0.25f, 3);
  sprite.SetColor(0x12345678, 4);  // no such corner: nothing changes
  sprite.Render(0, 0);
  const hgeQuad quad = engine->Quads().at(0);
  const std::uint32_t colours[] = {0xFF112233, 0xFF112233, 0x80FFFFFF, 0xFF112233};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(quad.v[i].col, colours[i]) << "vertex " << i;
  EXPECT_FLOAT_EQ(quad.v[0].z, 0.5f);
  EXPECT_FLOAT_EQ(quad.v[3].z, 0.25f);
}

TEST_F(SpriteTest, FlipMirrorsTheTextureAndOptionallyTheHotSpot) {
  Sprite sprite(0, 0, 0, 10, 20);
  sprite.SetHotSpot(2, 3);
  sprite.SetFlip(true, false);
  sprite.Render(0, 0);
  sprite.SetFlip(true, true, true);  // only the newly flipped direction moves the hot spot
  sprite.Render(0, 0);
  const auto quads = engine->Quads();
  ExpectTextureCoordinates(quads.at(0), 10, 0, 0, 20);
  ExpectCorners(quads.at(0), -2, -3, 8, 17);
  ExpectTextureCoordinates(quads.at(1), 10, 20, 0, 0);
  ExpectCorners(quads.at(1), -2, -17, 8, 3);
}

}  // namespace
