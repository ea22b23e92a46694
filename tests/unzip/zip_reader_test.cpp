// The zip reader on sound, damaged and hostile archives: each verdict where
// libzip judges the same bytes agrees with libzip's.
#include "unzip32/zip_reader.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <functional>
#include <memory>
#include <random>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using zipreader::Verdict;
using zipreader::ZipArchive;

// Whether libzip opens the archive, finds each local header agreeing with the
// directory and reads every member in full with a matching CRC.
bool LibzipAccepts(const std::string& path) {
  int error = 0;
  std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
      zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error), &zip_discard);
  if (!archive) return false;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i) {
    zip_file_t* member = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
    if (!member) return false;
    char buffer[65536];
    zip_int64_t got = 0;
    while ((got = zip_fread(member, buffer, sizeof buffer)) > 0) {
    }
    if (zip_fclose(member) != 0 || got < 0) return false;
  }
  return true;
}

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

// The directory's verdict, or the first failing member's; every member is
// taken out too.
Verdict Judge(const std::string& path) {
  ZipArchive archive(path);
  Verdict verdict = archive.verdict();
  for (const zipreader::Member& member : archive.members()) {
    if (verdict == Verdict::kGood) verdict = archive.Test(member);
    archive.Extract(member, 1 << 16);
  }
  return verdict;
}

const std::vector<Entry> kMixed = {
    {.name = "file_id.diz", .content = "Release [01/03]\r\n", .method = 0},
    {.name = "data.bin", .content = RandomBytes(200000, 1)},
    {.name = "sub/readme.txt", .content = Text(300000)},
    {.name = "empty", .content = "", .method = 0},
};

TEST(ZipReader, SoundArchivesOfEveryLayoutReadBackExactly) {
  support::TempFolder folder;
  for (const bool descriptor : {false, true}) {
    for (const bool zip64 : {false, true}) {
      SCOPED_TRACE(testing::Message() << "descriptor " << descriptor << " zip64 " << zip64);
      std::vector<Entry> entries = kMixed;
      for (Entry& entry : entries) {
        entry.dataDescriptor = descriptor;
        entry.zip64 = zip64;
      }
      support::WriteFile(folder / "a.zip", BuildZip(entries).bytes);
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
}

TEST(ZipReader, VerdictsOnSoundDamagedAndHostileArchives) {
  const Archive deflated = BuildZip({{.name = "t", .content = Text(50000)}});
  const Archive stored = BuildZip({{.name = "r", .content = RandomBytes(5000, 3), .method = 0}});
  const Archive mixed = BuildZip(kMixed);
  const Archive big = BuildZip({{.name = "b", .content = "tiny", .zip64 = true}});
  const Archive copies =
      BuildZip(std::vector<Entry>(200, {.name = "m", .content = std::string(1000, 'x')}));
  const std::size_t size = deflated.centralOffsets[0] + kCentralUncompressedSize;
  const std::size_t data = deflated.dataOffsets[0];
  const std::size_t zip64Sizes = big.centralOffsets[0] + 46 + 1 + 4;  // its Zip64 extra field
  const std::size_t end64 = big.endOffset - 20 - 56;
  const struct {
    const char* what;
    std::string archive;
    std::function<void(std::string&)> change;
    Verdict verdict;
    bool libzipJudges = true;  // false: libzip lets it through where the reader is stricter
  } rows[] = {
      {"encryption flag", BuildZip({{.name = "a", .content = "abc", .flags = 1}}).bytes,
       [](auto&) {}, Verdict::kEncrypted},
      {"implode method", BuildZip({{.name = "a", .content = "abc", .method = 6}}).bytes,
       [](auto&) {}, Verdict::kUnsupported},
      {"flipped deflated byte", deflated.bytes, [&](auto& b) { b[data + 100] ^= 0x55; },
       Verdict::kBadData},
      {"uncompressed size too small", deflated.bytes, [&](auto& b) { Put(b, size, 49999, 4); },
       Verdict::kBadData, false},
      // The first deflate block no longer says it is the last one.
      {"deflate stream without end", deflated.bytes, [&](auto& b) { b[data] &= ~1; },
       Verdict::kBadData, false},
      {"wrong CRC of a stored member", stored.bytes,
       [&](auto& b) { Put(b, stored.centralOffsets[0] + kCentralCrc, 0x12345678, 4); },
       Verdict::kBadData},
      {"cut in the data", mixed.bytes, [&](auto& b) { b.resize(mixed.dataOffsets[1] + 500); },
       Verdict::kNotZip},
      {"data cut out of the middle", mixed.bytes,
       [&](auto& b) { b.erase(mixed.dataOffsets[1] + 100, 1000); }, Verdict::kDamaged},
      // Sizes, counts and offsets far beyond the file.
      {"huge uncompressed size", big.bytes, [&](auto& b) { Put(b, zip64Sizes, ~0ull, 8); },
       Verdict::kBadData},
      {"huge compressed size", big.bytes, [&](auto& b) { Put(b, zip64Sizes + 8, 1ull << 62, 8); },
       Verdict::kDamaged},
      {"huge member count", big.bytes,
       [&](auto& b) {
         Put(b, end64 + 24, 1ull << 60, 8);
         Put(b, end64 + 32, 1ull << 60, 8);
       },
       Verdict::kDamaged},
      {"name longer than the directory", big.bytes,
       [&](auto& b) { Put(b, big.centralOffsets[0] + kCentralNameLength, 0xFFFF, 2); },
       Verdict::kDamaged},
      // Members that overlap: a zip bomb's way of reusing its data.
      {"data over the next header", copies.bytes,
       [&](auto& b) {
         Put(b, copies.centralOffsets[0] + kCentralCompressedSize,
             copies.dataOffsets[2] - copies.dataOffsets[0], 4);
       },
       Verdict::kDamaged},
  };
  support::TempFolder folder;
  const std::string path = folder / "judged.zip";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::string bytes = row.archive;
    row.change(bytes);
    support::WriteFile(path, bytes);
    const Verdict verdict = Judge(path);
    EXPECT_EQ(verdict, row.verdict) << zipreader::VerdictText(verdict);
    if (row.libzipJudges) {
      EXPECT_EQ(verdict == Verdict::kGood, LibzipAccepts(path));
    }
  }
  EXPECT_EQ(Judge(folder.path()), Verdict::kNotZip);
}

}  // namespace
}  // namespace ziptest
