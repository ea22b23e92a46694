// The zip reader on sound, damaged and hostile archives: each verdict where
// libzip judges the same bytes agrees with libzip's, and the reader answers in
// bounded memory whatever the archive claims.
#include "unzip32/zip_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/allocation_meter.h"
#include "tests/unzip/libzip_oracle.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using zipreader::Verdict;
using zipreader::ZipArchive;

// Far above what the reader needs (its buffers and the directory), far below
// what the hostile archives claim.
constexpr std::size_t kMemoryBound = 2 << 20;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

// A compressible text of `size` bytes.
std::string Text(std::size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) text += "line " + std::to_string(line) + "\r\n";
  text.resize(size);
  return text;
}

std::string Changed(std::string bytes, const std::function<void(std::string&)>& change) {
  change(bytes);
  return bytes;
}

// The directory's verdict, or the first failing member's; every member is
// taken out too, all of it within the memory bound.
Verdict Judge(const std::string& path) {
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
  return verdict;
}

const std::vector<Entry> kMixed = {
    {.name = "file_id.diz", .content = "Release [01/03]\r\n", .method = 0},
    {.name = "data.bin", .content = RandomBytes(200000, 1)},
    {.name = "sub/readme.txt", .content = Text(300000)},
    {.name = "empty", .content = "", .method = 0},
};

struct Layout {
  const char* what;
  bool dataDescriptor, zip64, zip64End;
};
const Layout kLayouts[] = {{"plain", false, false, false},
                           {"descriptor", true, false, false},
                           {"zip64", false, true, true},
                           {"zip64 descriptor", true, true, true},
                           {"zip64 end only", false, false, true}};

std::vector<Entry> InLayout(std::vector<Entry> entries, const Layout& layout) {
  for (Entry& entry : entries) {
    entry.dataDescriptor = layout.dataDescriptor;
    entry.zip64 = layout.zip64;
  }
  return entries;
}

TEST(ZipReader, SoundArchivesOfEveryLayoutReadBackExactly) {
  support::TempFolder folder;
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE(layout.what);
    const std::vector<Entry> entries = InLayout(kMixed, layout);
    support::WriteFile(folder / "a.zip", BuildZip(entries, layout.zip64End).bytes);
    EXPECT_EQ(Judge(folder / "a.zip"), Verdict::kGood);
    EXPECT_TRUE(LibzipAccepts(folder / "a.zip"));
    ZipArchive archive(folder / "a.zip");
    ASSERT_EQ(archive.members().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(archive.members()[i].name, entries[i].name);
      EXPECT_EQ(archive.Extract(archive.members()[i], 1 << 20), entries[i].content);
    }
    EXPECT_FALSE(archive.Extract(archive.members()[2], 299999));  // over the size limit
  }
}

struct Case {
  std::string what;
  std::string bytes;
  Verdict verdict;
  bool libzipJudges = true;  // false: libzip lets it through where the reader is stricter
};

std::vector<Case> Cases(const support::TempFolder& folder) {
  std::vector<Case> cases;
  const std::string byLibzip = folder / "libzip.zip";
  LibzipWrite(byLibzip, {{"a.txt", Text(100000)},
                         {"b.bin", RandomBytes(70000, 2), true},
                         {"folder/"},
                         {"folder/FILE_ID.DIZ", "[1/1]"},
                         {"zero.txt", ""}});
  cases.push_back({"written by libzip", support::ReadFile(byLibzip), Verdict::kGood});
  LibzipWrite(byLibzip, {{"a.txt", Text(1000)}}, "secret");
  cases.push_back({"encrypted by libzip", support::ReadFile(byLibzip), Verdict::kEncrypted});
  cases.push_back({"encryption flag", BuildZip({{.name = "a", .content = "abc", .flags = 1}}).bytes,
                   Verdict::kEncrypted});
  cases.push_back({"implode method", BuildZip({{.name = "a", .content = "abc", .method = 6}}).bytes,
                   Verdict::kUnsupported});
  cases.push_back({"plain text", Text(5000), Verdict::kNotZip});

  const Archive deflated = BuildZip({{.name = "t.txt", .content = Text(50000)}});
  const Archive stored =
      BuildZip({{.name = "r.bin", .content = RandomBytes(5000, 3), .method = 0}});
  const Archive small = BuildZip({{.name = "b", .content = "bbbb"}});
  const std::size_t deflatedSize = deflated.centralOffsets[0] + kCentralUncompressedSize;
  cases.push_back(
      {"flipped deflated byte",
       Changed(deflated.bytes, [&](auto& b) { b[deflated.dataOffsets[0] + 100] ^= 0x55; }),
       Verdict::kBadData});
  cases.push_back({"flipped stored byte",
                   Changed(stored.bytes, [&](auto& b) { b[stored.dataOffsets[0] + 10] ^= 1; }),
                   Verdict::kBadData});
  cases.push_back(
      {"wrong CRC in the directory",
       Changed(stored.bytes,
               [&](auto& b) { Put32(b, stored.centralOffsets[0] + kCentralCrc, 0x12345678); }),
       Verdict::kBadData});
  // The only deflate block no longer says it is the last one.
  cases.push_back({"deflate stream without end",
                   Changed(small.bytes, [&](auto& b) { b[small.dataOffsets[0]] &= ~1; }),
                   Verdict::kBadData, false});
  cases.push_back({"uncompressed size too small",
                   Changed(deflated.bytes, [&](auto& b) { Put32(b, deflatedSize, 49999); }),
                   Verdict::kBadData, false});
  cases.push_back({"uncompressed size too large",
                   Changed(deflated.bytes, [&](auto& b) { Put32(b, deflatedSize, 50001); }),
                   Verdict::kBadData, false});

  const Archive mixed = BuildZip(kMixed);
  for (std::size_t keep :
       {std::size_t{0}, mixed.dataOffsets[1] + 500, mixed.endOffset, mixed.bytes.size() - 1}) {
    cases.push_back(
        {"cut at " + std::to_string(keep), mixed.bytes.substr(0, keep), Verdict::kNotZip});
  }
  cases.push_back(
      {"data cut out of the middle",
       Changed(mixed.bytes, [&](auto& b) { b.erase(mixed.dataOffsets[1] + 100, 1000); }),
       Verdict::kDamaged});

  // Sizes, counts and offsets far beyond the file.
  const Archive big = BuildZip({{.name = "big", .content = "tiny", .zip64 = true}}, true);
  const std::size_t values = big.centralOffsets[0] + 46 + 3 + 4;  // its Zip64 extra field
  cases.push_back({"huge uncompressed size",
                   Changed(big.bytes, [&](auto& b) { Put64(b, values, ~0ull); }),
                   Verdict::kBadData});
  cases.push_back({"huge compressed size",
                   Changed(big.bytes, [&](auto& b) { Put64(b, values + 8, 1ull << 62); }),
                   Verdict::kDamaged});
  cases.push_back({"huge local header offset",
                   Changed(big.bytes, [&](auto& b) { Put64(b, values + 16, ~0ull - 10); }),
                   Verdict::kDamaged});
  const Archive zip64 = BuildZip({{.name = "a", .content = "abc"}}, true);
  const std::size_t end64 = zip64.endOffset - 20 - 56;
  cases.push_back({"huge member count",
                   Changed(zip64.bytes,
                           [&](auto& b) {
                             Put64(b, end64 + 24, 1ull << 60);
                             Put64(b, end64 + 32, 1ull << 60);
                           }),
                   Verdict::kDamaged});
  cases.push_back({"huge directory",
                   Changed(zip64.bytes, [&](auto& b) { Put64(b, end64 + 40, 1ull << 40); }),
                   Verdict::kDamaged});
  const Archive plain = BuildZip({{.name = "a", .content = "abc"}});
  cases.push_back(
      {"name longer than the directory",
       Changed(plain.bytes, [&](auto& b) { Put16(b, plain.centralOffsets[0] + 28, 0xFFFF); }),
       Verdict::kDamaged});
  cases.push_back({"one record more than there is",
                   Changed(plain.bytes,
                           [&](auto& b) {
                             Put16(b, plain.endOffset + kEndEntries, 2);
                             Put16(b, plain.endOffset + kEndEntries - 2, 2);
                           }),
                   Verdict::kDamaged});

  // Members that overlap: a zip bomb's way of reusing its data.
  std::vector<Entry> many;
  for (int i = 0; i < 200; ++i) many.push_back({.name = "m", .content = std::string(1000, 'x')});
  const Archive copies = BuildZip(many);
  cases.push_back({"every record names the same data",
                   Changed(copies.bytes,
                           [&](auto& b) {
                             for (std::size_t at : copies.centralOffsets)
                               Put32(b, at + kCentralLocalOffset, 0);
                           }),
                   Verdict::kDamaged});
  const auto overlap = static_cast<std::uint32_t>(copies.localOffsets[2] - copies.dataOffsets[0]);
  cases.push_back({"data over the next header",
                   Changed(copies.bytes,
                           [&](auto& b) {
                             Put32(b, copies.centralOffsets[0] + kCentralCompressedSize, overlap);
                           }),
                   Verdict::kDamaged});
  const Archive zeros = BuildZip({{.name = "zeros", .content = std::string(10 << 20, '\0')}});
  cases.push_back({"ten mebibytes of zeros", zeros.bytes, Verdict::kGood});
  cases.push_back({"zeros beyond the declared size",
                   Changed(zeros.bytes,
                           [&](auto& b) {
                             Put32(b, zeros.centralOffsets[0] + kCentralUncompressedSize, 1000);
                           }),
                   Verdict::kBadData});
  return cases;
}

TEST(ZipReader, VerdictsOnSoundDamagedAndHostileArchives) {
  support::TempFolder folder;
  for (const Case& row : Cases(folder)) {
    SCOPED_TRACE(row.what);
    const std::string path = folder / "judged.zip";
    support::WriteFile(path, row.bytes);
    const Verdict verdict = Judge(path);
    EXPECT_EQ(verdict, row.verdict) << zipreader::VerdictText(verdict);
    if (row.libzipJudges) {
      EXPECT_EQ(verdict == Verdict::kGood, LibzipAccepts(path));
    }
  }
  EXPECT_EQ(Judge(folder / "absent.zip"), Verdict::kNotZip);
  EXPECT_EQ(Judge(folder.path()), Verdict::kNotZip);
}

// Damage anywhere in a small archive: never a crash, never accepted when
// libzip refuses it. Where libzip lets a member through without looking (an
// uncompressed size that does not match, a deflate stream that never ends,
// flags of methods it does not know) the reader is stricter on purpose, but
// it never calls a consistent archive damaged.
TEST(ZipReader, RandomDamageIsJudgedLikeLibzip) {
  support::TempFolder folder;
  const std::string path = folder / "damaged.zip";
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
    support::WriteFile(path, bytes);
    const Verdict verdict = Judge(path);
    if (!LibzipAccepts(path, false)) {
      EXPECT_NE(verdict, Verdict::kGood);
    }
    if (verdict != Verdict::kGood && LibzipAccepts(path, true)) {
      EXPECT_TRUE(verdict == Verdict::kBadData || verdict == Verdict::kEncrypted)
          << zipreader::VerdictText(verdict);
    }
  }
}

}  // namespace
}  // namespace ziptest
