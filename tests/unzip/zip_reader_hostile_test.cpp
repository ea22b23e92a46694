// Archives made to hurt a reader: absurd sizes and counts, members that
// overlap, damage anywhere. The reader must answer in bounded memory without
// crashing, and fail them.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/allocation_meter.h"
#include "tests/unzip/libzip_oracle.h"
#include "tests/unzip/zip_builder.h"
#include "unzip32/zip_reader.h"

namespace ziptest {
namespace {

using zipreader::Verdict;
using zipreader::ZipArchive;

// Far above what the reader needs (its buffers and the directory), far below
// what the archives claim.
constexpr std::size_t kMemoryBound = 2 << 20;

class HostileArchive : public ::testing::Test {
 protected:
  // The verdict over the directory and every member, with the heap's peak.
  Verdict Judge(const std::string& bytes) {
    std::string path = folder_ / "hostile.zip";
    support::WriteFile(path, bytes);
    AllocationMeter meter;
    Verdict verdict = Verdict::kGood;
    {
      ZipArchive archive(path);
      verdict = archive.verdict();
      for (const zipreader::Member& member : archive.members()) {
        if (verdict == Verdict::kGood) verdict = archive.Test(member);
        archive.Extract(member, 1 << 16);
      }
    }
    EXPECT_LT(meter.PeakBytes(), kMemoryBound);
    lastPath_ = path;
    return verdict;
  }

  support::TempFolder folder_;
  std::string lastPath_;
};

TEST_F(HostileArchive, HugeDeclaredSizesFail) {
  Archive archive = BuildZip({{.name = "big", .content = "tiny", .zip64 = true}}, true);
  const std::size_t extra = archive.centralOffsets[0] + 46 + 3 + 4;  // the Zip64 values
  std::string bytes = archive.bytes;
  Put64(bytes, extra, ~0ull);  // uncompressed
  EXPECT_EQ(Judge(bytes), Verdict::kBadData);
  Put64(bytes, extra + 8, 1ull << 62);  // compressed
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);
  Put64(bytes, extra + 8, 4);
  Put64(bytes, extra + 16, ~0ull - 10);  // local header offset
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);
  EXPECT_FALSE(LibzipAccepts(lastPath_));
}

TEST_F(HostileArchive, HugeCountsAndDirectoriesFail) {
  Archive zip64 = BuildZip({{.name = "a", .content = "abc"}}, true);
  const std::size_t end64 = zip64.endOffset - 20 - 56;
  std::string bytes = zip64.bytes;
  Put64(bytes, end64 + 24, 1ull << 60);
  Put64(bytes, end64 + 32, 1ull << 60);
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);

  bytes = zip64.bytes;
  Put64(bytes, end64 + 40, 1ull << 40);  // directory size
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);

  Archive plain = BuildZip({{.name = "a", .content = "abc"}});
  bytes = plain.bytes;
  Put16(bytes, plain.centralOffsets[0] + 28, 0xFFFF);  // a name longer than the directory
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);
  bytes = plain.bytes;
  Put16(bytes, plain.endOffset + kEndEntries, 2);  // one record more than there is
  Put16(bytes, plain.endOffset + kEndEntries - 2, 2);
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);
}

TEST_F(HostileArchive, OverlappingMembersFail) {
  std::vector<Entry> entries;
  for (int i = 0; i < 200; ++i) entries.push_back({.name = "m", .content = std::string(1000, 'x')});
  Archive archive = BuildZip(entries);
  std::string bytes = archive.bytes;
  // Every record names the first member's data.
  for (std::size_t offset : archive.centralOffsets) Put32(bytes, offset + kCentralLocalOffset, 0);
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);

  // One member's data runs over the next member's header.
  bytes = archive.bytes;
  const std::uint32_t compressed =
      static_cast<std::uint32_t>(archive.localOffsets[2] - archive.dataOffsets[0]);
  Put32(bytes, archive.centralOffsets[0] + kCentralCompressedSize, compressed);
  EXPECT_EQ(Judge(bytes), Verdict::kDamaged);
}

TEST_F(HostileArchive, InflatingBeyondTheDeclaredSizeStops) {
  Archive archive = BuildZip({{.name = "zeros", .content = std::string(10 << 20, '\0')}});
  EXPECT_EQ(Judge(archive.bytes), Verdict::kGood);  // read in full, in bounded memory
  std::string bytes = archive.bytes;
  Put32(bytes, archive.centralOffsets[0] + kCentralUncompressedSize, 1000);
  EXPECT_EQ(Judge(bytes), Verdict::kBadData);
  EXPECT_FALSE(LibzipAccepts(lastPath_));
}

// Damage anywhere in a small archive: never a crash, never accepted when
// libzip refuses it. Where libzip lets a member through without looking
// (an uncompressed size that does not match, a deflate stream that never
// ends, flags of methods it does not know) the reader is stricter on purpose,
// but it never calls a consistent archive damaged.
TEST_F(HostileArchive, RandomDamageIsJudgedLikeLibzip) {
  const std::string good = BuildZip({{.name = "file_id.diz", .content = "[01/02]", .method = 0},
                                     {.name = "data/a.txt", .content = std::string(3000, 'a')},
                                     {.name = "b", .content = "bbbb", .dataDescriptor = true}})
                               .bytes;
  std::mt19937 generator(7);
  for (int round = 0; round < 800; ++round) {
    std::string bytes = good;
    for (int flips = 1 + round % 3; flips > 0; --flips) {
      bytes[generator() % bytes.size()] ^= static_cast<char>(1 + generator() % 255);
    }
    SCOPED_TRACE(round);
    Verdict verdict = Judge(bytes);
    if (!LibzipAccepts(lastPath_, false)) {
      EXPECT_NE(verdict, Verdict::kGood);
    }
    if (verdict != Verdict::kGood && LibzipAccepts(lastPath_, true)) {
      EXPECT_TRUE(verdict == Verdict::kBadData || verdict == Verdict::kEncrypted)
          << zipreader::VerdictText(verdict);
    }
  }
}

}  // namespace
}  // namespace ziptest
