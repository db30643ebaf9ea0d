#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/StateChunk.h"

namespace {

std::vector<uint8_t> Bytes(const StateChunk& chunk) {
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

}  // namespace

TEST(StateChunkLayout, ValuesAreLittleEndianWithoutPadding) {
  StateChunk chunk;
  ASSERT_TRUE(chunk.PutInt32(0x01020304));
  ASSERT_TRUE(chunk.PutBool(true));
  ASSERT_TRUE(chunk.PutDouble(1.0));  // 0x3FF0000000000000
  ASSERT_TRUE(chunk.PutText("ab"));
  const std::vector<uint8_t> expected = {0x04, 0x03, 0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0xF0, 0x3F, 0x02, 0x00, 0x00, 0x00, 'a',  'b'};
  EXPECT_EQ(Bytes(chunk), expected);
}

TEST(StateChunkLayout, ValuesReadBackAtTheirPositions) {
  StateChunk chunk;
  chunk.PutInt32(-7);
  chunk.PutDouble(400.25);
  chunk.PutBool(false);
  chunk.PutText("Brask");
  int32_t i = 0;
  double d = 0;
  bool b = true;
  char text[16];
  EXPECT_EQ(chunk.GetInt32(&i, 0), 4);
  EXPECT_EQ(chunk.GetDouble(&d, 4), 12);
  EXPECT_EQ(chunk.GetBool(&b, 12), 13);
  EXPECT_EQ(chunk.GetText(text, sizeof(text), 13), 22);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(d, 400.25);
  EXPECT_FALSE(b);
  EXPECT_STREQ(text, "Brask");
}

TEST(StateChunkLayout, AnotherChunkIsAppendedWhole) {
  StateChunk first;
  StateChunk second;
  first.PutInt32(1);
  second.PutInt32(2);
  second.PutInt32(3);
  ASSERT_TRUE(first.PutChunk(&second));
  int32_t v = 0;
  EXPECT_EQ(first.Size(), 12);
  EXPECT_EQ(first.GetInt32(&v, 8), 12);
  EXPECT_EQ(v, 3);
  EXPECT_FALSE(first.PutChunk(nullptr));
}

TEST(StateChunkReads, ReadsOutsideTheChunkFailAndLeaveTheDestination) {
  StateChunk chunk;
  chunk.PutInt32(5);
  chunk.PutBool(true);
  double d = 42.0;
  int32_t i = 42;
  bool b = false;
  EXPECT_EQ(chunk.GetDouble(&d, 0), -1);
  EXPECT_EQ(chunk.GetInt32(&i, 2), -1);
  EXPECT_EQ(chunk.GetInt32(&i, -1), -1);
  EXPECT_EQ(chunk.GetBool(&b, 5), -1);
  EXPECT_EQ(chunk.GetBool(&b, -5), -1);
  EXPECT_EQ(chunk.GetInt32(&i, 0x7FFFFFFE), -1) << "no overflow of the end position";
  EXPECT_EQ(d, 42.0);
  EXPECT_EQ(i, 42);
  EXPECT_FALSE(b);
}

TEST(StateChunkReads, AnyNonZeroByteReadsAsTrue) {
  StateChunk chunk;
  const uint8_t byte = 0x80;
  chunk.PutBytes(&byte, 1);
  bool b = false;
  EXPECT_EQ(chunk.GetBool(&b, 0), 1);
  EXPECT_TRUE(b);
}

TEST(StateChunkReads, TextsAreCheckedAgainstTheirLength) {
  char text[8] = "keep";
  StateChunk beyond;
  beyond.PutInt32(10);
  beyond.PutBytes("abc", 3);
  EXPECT_EQ(beyond.GetText(text, sizeof(text), 0), -1);
  StateChunk negative;
  negative.PutInt32(-3);
  negative.PutBytes("abcdefgh", 8);
  EXPECT_EQ(negative.GetText(text, sizeof(text), 0), -1);
  EXPECT_STREQ(text, "keep");

  StateChunk embeddedZero;
  embeddedZero.PutInt32(4);
  embeddedZero.PutBytes("ab\0d", 4);
  EXPECT_EQ(embeddedZero.GetText(text, sizeof(text), 0), 8);
  EXPECT_STREQ(text, "ab");

  StateChunk empty;
  empty.PutInt32(0);
  EXPECT_EQ(empty.GetText(text, sizeof(text), 0), 4);
  EXPECT_STREQ(text, "");
}

TEST(StateChunkReads, LongTextsAreCutToTheBuffer) {
  StateChunk chunk;
  chunk.PutText("abcdefghijkl");
  char text[5];
  EXPECT_EQ(chunk.GetText(text, sizeof(text), 0), 16) << "the position still skips the text";
  EXPECT_STREQ(text, "abcd");
}

// Capacity for a request of n bytes: ((n + 96 + s) rounded down to 4096) - 96, with
// s = max(n / 2, 4096) rounded down to 4096, at most 0x400000. Values worked out by hand.
TEST(StateChunkCapacity, GrowthFollowsTheRule) {
  EXPECT_EQ(StateChunk::CapacityFor(1), 4000);             // (1 + 96 + 4096) -> 4096
  EXPECT_EQ(StateChunk::CapacityFor(4000), 8096);          // 8192 -> 8192
  EXPECT_EQ(StateChunk::CapacityFor(4001), 8096);          // 8193 -> 8192
  EXPECT_EQ(StateChunk::CapacityFor(20000), 24480);        // s = 8192; 28288 -> 24576
  EXPECT_EQ(StateChunk::CapacityFor(10000000), 14192544);  // s capped; 14194400 -> 14192640
}

TEST(StateChunkCapacity, ChunksGrowOnlyWhenFull) {
  StateChunk chunk;
  EXPECT_EQ(chunk.Capacity(), 0);
  chunk.PutInt32(1);
  EXPECT_EQ(chunk.Capacity(), 4000);
  std::vector<uint8_t> filler(3996, 0xAB);
  chunk.PutBytes(filler.data(), int(filler.size()));
  EXPECT_EQ(chunk.Size(), 4000);
  EXPECT_EQ(chunk.Capacity(), 4000);
  chunk.PutBool(true);
  EXPECT_EQ(chunk.Capacity(), 8096);
  int32_t first = 0;
  chunk.GetInt32(&first, 0);
  EXPECT_EQ(first, 1) << "growing keeps the contents";
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Capacity(), 0);
}

TEST(StateChunkHostBlocks, AssignCopiesOrRefuses) {
  const uint8_t block[] = {1, 2, 3, 4, 5};
  StateChunk chunk;
  EXPECT_TRUE(chunk.Assign(block, 5));
  EXPECT_EQ(Bytes(chunk), std::vector<uint8_t>(block, block + 5));
  EXPECT_FALSE(chunk.Assign(block, -1));
  EXPECT_EQ(chunk.Size(), 0);
  chunk.Assign(block, 5);
  EXPECT_FALSE(chunk.Assign(nullptr, 5));
  EXPECT_EQ(chunk.Size(), 0);
  chunk.Assign(block, 5);
  EXPECT_FALSE(chunk.Assign(block, StateChunk::kMaxSize + 1));
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_TRUE(chunk.Assign(nullptr, 0));
}

TEST(StateChunkHostBlocks, AssignFromItsOwnBytes) {
  StateChunk chunk;
  chunk.PutInt32(11);
  chunk.PutInt32(22);
  ASSERT_TRUE(chunk.Assign(chunk.Data() + 4, 4));
  int32_t v = 0;
  EXPECT_EQ(chunk.Size(), 4);
  chunk.GetInt32(&v, 0);
  EXPECT_EQ(v, 22);
}

TEST(StateChunkHostBlocks, ResizeZeroesNewBytes) {
  StateChunk chunk;
  chunk.PutInt32(-1);
  chunk.Resize(2);
  ASSERT_TRUE(chunk.Resize(8));
  EXPECT_EQ(Bytes(chunk), (std::vector<uint8_t>{0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(chunk.Resize(-4));
  EXPECT_EQ(chunk.Size(), 8);
}
