// The zip reader on sound, damaged and hostile archives: each verdict where
// libzip judges the same bytes agrees with libzip's, and the reader answers in
// bounded memory whatever the archive claims.
#include "unzip32/zip_reader.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <random>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/zip_builder.h"

// The test program's heap, measured: each block carries its size in front.
namespace {
std::atomic<std::size_t> inUse{0}, peak{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);
}  // namespace
void* operator new(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  for (std::size_t now = inUse += size, top = peak; now > top;)
    peak.compare_exchange_weak(top, now);
  return block + kHeader;
}
void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  auto* block = static_cast<unsigned char*>(pointer) - kHeader;
  inUse -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }

namespace ziptest {
namespace {

using zipreader::Verdict;
using zipreader::ZipArchive;

// Whether libzip opens the archive and reads every member in full with a
// matching CRC; strict adds its checks that each local header agrees with the
// directory.
bool LibzipAccepts(const std::string& path, bool strict = true) {
  int error = 0;
  std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
      zip_open(path.c_str(), ZIP_RDONLY | (strict ? ZIP_CHECKCONS : 0), &error), &zip_discard);
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

std::string Changed(std::string bytes, const std::function<void(std::string&)>& change) {
  change(bytes);
  return bytes;
}

// The directory's verdict, or the first failing member's; every member is
// taken out too, all of it in far less memory than the hostile archives claim.
Verdict Judge(const std::string& path) {
  const std::size_t base = inUse;
  peak = base;
  Verdict verdict = Verdict::kGood;
  {
    ZipArchive archive(path);
    verdict = archive.verdict();
    for (const zipreader::Member& member : archive.members()) {
      if (verdict == Verdict::kGood) verdict = archive.Test(member);
      archive.Extract(member, 1 << 16);
    }
  }
  EXPECT_LT(peak - base, std::size_t{2} << 20);
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

struct Case {
  std::string what;
  std::string bytes;
  Verdict verdict;
  bool libzipJudges = true;  // false: libzip lets it through where the reader is stricter
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"encryption flag", BuildZip({{.name = "a", .content = "abc", .flags = 1}}).bytes,
                   Verdict::kEncrypted});
  cases.push_back({"implode method", BuildZip({{.name = "a", .content = "abc", .method = 6}}).bytes,
                   Verdict::kUnsupported});
  cases.push_back({"plain text", Text(5000), Verdict::kNotZip});

  const Archive deflated = BuildZip({{.name = "t", .content = Text(50000)}});
  const Archive stored = BuildZip({{.name = "r", .content = RandomBytes(5000, 3), .method = 0}});
  const std::size_t size = deflated.centralOffsets[0] + kCentralUncompressedSize;
  const std::size_t data = deflated.dataOffsets[0];
  const struct {
    const char* what;
    std::function<void(std::string&)> change;
    bool libzipJudges;
  } deflatedDamage[] = {
      {"flipped deflated byte", [&](auto& b) { b[data + 100] ^= 0x55; }, true},
      {"uncompressed size too small", [&](auto& b) { Put(b, size, 49999, 4); }, false},
      {"uncompressed size too large", [&](auto& b) { Put(b, size, 50001, 4); }, false},
      // The first deflate block no longer says it is the last one.
      {"deflate stream without end", [&](auto& b) { b[data] &= ~1; }, false},
  };
  for (const auto& row : deflatedDamage) {
    cases.push_back(
        {row.what, Changed(deflated.bytes, row.change), Verdict::kBadData, row.libzipJudges});
  }
  cases.push_back(
      {"wrong CRC of a stored member",
       Changed(stored.bytes,
               [&](auto& b) { Put(b, stored.centralOffsets[0] + kCentralCrc, 0x12345678, 4); }),
       Verdict::kBadData});

  const Archive mixed = BuildZip(kMixed);
  for (std::size_t keep : {mixed.dataOffsets[1] + 500, mixed.bytes.size() - 1}) {
    cases.push_back(
        {"cut at " + std::to_string(keep), mixed.bytes.substr(0, keep), Verdict::kNotZip});
  }
  cases.push_back(
      {"data cut out of the middle",
       Changed(mixed.bytes, [&](auto& b) { b.erase(mixed.dataOffsets[1] + 100, 1000); }),
       Verdict::kDamaged});

  // Sizes, counts and offsets far beyond the file.
  const Archive big = BuildZip({{.name = "b", .content = "tiny", .zip64 = true}});
  const std::size_t values = big.centralOffsets[0] + 46 + 1 + 4;  // its Zip64 extra field
  const std::size_t end64 = big.endOffset - 20 - 56;
  const std::pair<const char*, std::function<void(std::string&)>> bigDamage[] = {
      {"huge compressed size", [&](auto& b) { Put(b, values + 8, 1ull << 62, 8); }},
      {"huge local header offset", [&](auto& b) { Put(b, values + 16, ~0ull - 10, 8); }},
      {"huge member count",
       [&](auto& b) {
         Put(b, end64 + 24, 1ull << 60, 8);
         Put(b, end64 + 32, 1ull << 60, 8);
       }},
      {"huge directory", [&](auto& b) { Put(b, end64 + 40, 1ull << 40, 8); }},
      {"name longer than the directory",
       [&](auto& b) { Put(b, big.centralOffsets[0] + kCentralNameLength, 0xFFFF, 2); }},
  };
  for (const auto& [what, change] : bigDamage) {
    cases.push_back({what, Changed(big.bytes, change), Verdict::kDamaged});
  }
  cases.push_back({"huge uncompressed size",
                   Changed(big.bytes, [&](auto& b) { Put(b, values, ~0ull, 8); }),
                   Verdict::kBadData});

  // Members that overlap: a zip bomb's way of reusing its data.
  const Archive copies =
      BuildZip(std::vector<Entry>(200, {.name = "m", .content = std::string(1000, 'x')}));
  const auto overlap = static_cast<std::uint32_t>(copies.dataOffsets[2] - copies.dataOffsets[0]);
  cases.push_back({"data over the next header",
                   Changed(copies.bytes,
                           [&](auto& b) {
                             Put(b, copies.centralOffsets[0] + kCentralCompressedSize, overlap, 4);
                           }),
                   Verdict::kDamaged});
  const Archive zeros = BuildZip({{.name = "zeros", .content = std::string(10 << 20, '\0')}});
  cases.push_back({"ten mebibytes of zeros", zeros.bytes, Verdict::kGood});
  return cases;
}

TEST(ZipReader, VerdictsOnSoundDamagedAndHostileArchives) {
  support::TempFolder folder;
  for (const Case& row : Cases()) {
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
                                     {.name = "data/a.txt", .content = Text(3000)},
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
