#include <gtest/gtest.h>

#include <cmath>

#include "TextTestSupport.h"
#include "text/Sprite.h"

namespace {

using SpriteTest = TextTest;

constexpr float kQuarterTurn = 1.57079632679489662f;

void ExpectCorners(const hgeQuad& quad, float x1, float y1, float x2, float y2) {
  EXPECT_FLOAT_EQ(quad.v[0].x, x1);
  EXPECT_FLOAT_EQ(quad.v[0].y, y1);
  EXPECT_FLOAT_EQ(quad.v[1].x, x2);
  EXPECT_FLOAT_EQ(quad.v[1].y, y1);
  EXPECT_FLOAT_EQ(quad.v[2].x, x2);
  EXPECT_FLOAT_EQ(quad.v[2].y, y2);
  EXPECT_FLOAT_EQ(quad.v[3].x, x1);
  EXPECT_FLOAT_EQ(quad.v[3].y, y2);
}

void ExpectTextureCoordinates(const hgeQuad& quad, float u1, float v1, float u2, float v2) {
  EXPECT_FLOAT_EQ(quad.v[0].tx, u1);
  EXPECT_FLOAT_EQ(quad.v[0].ty, v1);
  EXPECT_FLOAT_EQ(quad.v[1].tx, u2);
  EXPECT_FLOAT_EQ(quad.v[1].ty, v1);
  EXPECT_FLOAT_EQ(quad.v[2].tx, u2);
  EXPECT_FLOAT_EQ(quad.v[2].ty, v2);
  EXPECT_FLOAT_EQ(quad.v[3].tx, u1);
  EXPECT_FLOAT_EQ(quad.v[3].ty, v2);
}

TEST_F(SpriteTest, NewSpriteMapsItsRectangleAndUsesTheDefaults) {
  const HTEXTURE atlas = engine->AddTexture(512, 256);
  Sprite sprite(atlas, 64, 32, 128, 64);
  sprite.Render(0, 0);
  const auto quads = engine->Quads();
  ASSERT_EQ(quads.size(), 1u);
  ExpectTextureCoordinates(quads[0], 0.125f, 0.125f, 0.375f, 0.375f);
  EXPECT_EQ(quads[0].tex, atlas);
  EXPECT_EQ(quads[0].blend, 2);
  for (const auto& vertex : quads[0].v) {
    EXPECT_EQ(vertex.col, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(vertex.z, 0.5f);
  }
}

TEST_F(SpriteTest, TextureZeroCountsAsOnePixelSquare) {
  Sprite sprite(0, 3, 4, 10, 20);
  sprite.Render(0, 0);
  ExpectTextureCoordinates(engine->Quads().at(0), 3, 4, 13, 24);
}

TEST_F(SpriteTest, UnknownTextureHandleDoesNotDivideByZero) {
  Sprite sprite(77, 2, 2, 4, 4);  // the engine knows no texture 77 and sizes it 0x0
  sprite.Render(0, 0);
  const hgeQuad quad = engine->Quads().at(0);
  for (const auto& vertex : quad.v) {
    EXPECT_TRUE(std::isfinite(vertex.tx));
    EXPECT_TRUE(std::isfinite(vertex.ty));
  }
}

TEST_F(SpriteTest, RenderPutsTheHotSpotAtThePosition) {
  Sprite sprite(0, 0, 0, 20, 10);
  sprite.Render(100, 50);
  sprite.SetHotSpot(5, 2);
  sprite.Render(100, 50);
  const auto quads = engine->Quads();
  ExpectCorners(quads.at(0), 100, 50, 120, 60);
  ExpectCorners(quads.at(1), 95, 48, 115, 58);
}

TEST_F(SpriteTest, RenderStretchCoversExactlyTheBoxWhateverTheHotSpot) {
  const HTEXTURE atlas = engine->AddTexture(512, 512);
  Sprite piece(atlas, 0, 6, 4, 33);
  piece.SetHotSpot(2, 16);
  piece.RenderStretch(10, 20, 14, 60);
  const hgeQuad quad = engine->Quads().at(0);
  ExpectCorners(quad, 10, 20, 14, 60);
  ExpectTextureCoordinates(quad, 0, 6.0f / 512, 4.0f / 512, 39.0f / 512);
}

TEST_F(SpriteTest, RenderExScalesAroundTheHotSpot) {
  Sprite sprite(0, 0, 0, 10, 20);
  sprite.SetHotSpot(2, 4);
  sprite.RenderEx(100, 100, 0, 2, 0);  // vertical scale 0: both directions by 2
  sprite.RenderEx(100, 100, 0, 2, 0.5f);
  const auto quads = engine->Quads();
  ExpectCorners(quads.at(0), 96, 92, 116, 132);
  ExpectCorners(quads.at(1), 96, 98, 116, 108);
}

TEST_F(SpriteTest, RenderExTurnsTheCornersAboutTheHotSpot) {
  Sprite sprite(0, 0, 0, 10, 20);
  sprite.RenderEx(50, 60, kQuarterTurn, 1, 1);
  const hgeQuad quad = engine->Quads().at(0);
  // A quarter turn clockwise on screen: (x, y) becomes (-y, x).
  const float expected[4][2] = {{50, 60}, {50, 70}, {30, 70}, {30, 60}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(quad.v[i].x, expected[i][0], 1e-4) << "vertex " << i;
    EXPECT_NEAR(quad.v[i].y, expected[i][1], 1e-4) << "vertex " << i;
  }
}

TEST_F(SpriteTest, ColourAndDepthPerVertexOrForAll) {
  Sprite sprite(0, 0, 0, 1, 1);
  sprite.SetColor(0xFF112233);
  sprite.SetColor(0x80FFFFFF, 2);
  sprite.SetZ(0.25f, 3);
  sprite.SetColor(0x12345678, 4);  // no such corner: nothing changes
  sprite.Render(0, 0);
  const hgeQuad quad = engine->Quads().at(0);
  EXPECT_EQ(quad.v[0].col, 0xFF112233u);
  EXPECT_EQ(quad.v[1].col, 0xFF112233u);
  EXPECT_EQ(quad.v[2].col, 0x80FFFFFFu);
  EXPECT_EQ(quad.v[3].col, 0xFF112233u);
  EXPECT_FLOAT_EQ(quad.v[0].z, 0.5f);
  EXPECT_FLOAT_EQ(quad.v[3].z, 0.25f);
}

TEST_F(SpriteTest, SetTextureRectChangesCoordinatesAndSize) {
  const HTEXTURE atlas = engine->AddTexture(100, 50);
  Sprite sprite(atlas, 0, 0, 10, 10);
  sprite.SetTextureRect(50, 25, 25, 25);
  sprite.Render(0, 0);
  const hgeQuad quad = engine->Quads().at(0);
  ExpectTextureCoordinates(quad, 0.5f, 0.5f, 0.75f, 1.0f);
  ExpectCorners(quad, 0, 0, 25, 25);
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
