// The zip reader on archives of every kind it meets, each verdict checked
// against libzip's reading of the same bytes.
#include "unzip32/zip_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/libzip_oracle.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using zipreader::Verdict;
using zipreader::ZipArchive;

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

// The directory's verdict, or the first member's that fails its test.
Verdict Judge(const std::string& path) {
  ZipArchive archive(path);
  if (archive.verdict() != Verdict::kGood) return archive.verdict();
  for (const zipreader::Member& member : archive.members()) {
    Verdict verdict = archive.Test(member);
    if (verdict != Verdict::kGood) return verdict;
  }
  return Verdict::kGood;
}

class ZipReader : public ::testing::Test {
 protected:
  std::string Put(const std::string& bytes) {
    std::string path = folder_ / ("a" + std::to_string(++count_) + ".zip");
    support::WriteFile(path, bytes);
    return path;
  }
  // Our verdict on the bytes, which must agree with libzip's.
  Verdict Agreed(const std::string& bytes) { return AgreedAt(Put(bytes)); }
  Verdict AgreedAt(const std::string& path) {
    Verdict verdict = Judge(path);
    EXPECT_EQ(verdict == Verdict::kGood, LibzipAccepts(path))
        << "libzip disagrees with " << zipreader::VerdictText(verdict);
    return verdict;
  }

  support::TempFolder folder_;
  int count_ = 0;
};

const std::vector<Entry> kMixed = {
    {.name = "file_id.diz", .content = "Release [01/03]\r\n", .method = 0},
    {.name = "data.bin", .content = RandomBytes(200000, 1)},
    {.name = "sub/readme.txt", .content = Text(300000)},
    {.name = "empty", .content = "", .method = 0},
};

TEST_F(ZipReader, SoundArchivesOfEveryLayoutPass) {
  struct Layout {
    const char* what;
    bool dataDescriptor, zip64, zip64End;
  };
  for (Layout layout :
       {Layout{"plain", false, false, false}, Layout{"descriptor", true, false, false},
        Layout{"zip64", false, true, true}, Layout{"zip64 descriptor", true, true, true},
        Layout{"zip64 end only", false, false, true}}) {
    SCOPED_TRACE(layout.what);
    std::vector<Entry> entries = kMixed;
    for (Entry& entry : entries) {
      entry.dataDescriptor = layout.dataDescriptor;
      entry.zip64 = layout.zip64;
    }
    std::string path = Put(BuildZip(entries, layout.zip64End).bytes);
    EXPECT_EQ(AgreedAt(path), Verdict::kGood);
    ZipArchive archive(path);
    ASSERT_EQ(archive.members().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(archive.members()[i].name, entries[i].name);
      EXPECT_EQ(archive.Extract(archive.members()[i], 1 << 20), entries[i].content);
    }
  }
}

TEST_F(ZipReader, ArchivesWrittenByLibzipPass) {
  std::string path = folder_ / "libzip.zip";
  LibzipWrite(path, {{"a.txt", Text(100000)},
                     {"b.bin", RandomBytes(70000, 2), true},
                     {"folder/"},
                     {"folder/FILE_ID.DIZ", "[1/1]"},
                     {"zero.txt", ""}});
  EXPECT_EQ(AgreedAt(path), Verdict::kGood);
  EXPECT_EQ(ZipArchive(path).members().size(), 5u);
}

TEST_F(ZipReader, EncryptedMembersFail) {
  std::string path = folder_ / "secret.zip";
  LibzipWrite(path, {{"a.txt", Text(1000)}}, "secret");
  EXPECT_EQ(AgreedAt(path), Verdict::kEncrypted);
  EXPECT_EQ(Agreed(BuildZip({{.name = "a", .content = "abc", .flags = 1}}).bytes),
            Verdict::kEncrypted);
}

TEST_F(ZipReader, UnknownMethodIsUnsupported) {
  // Method 6 (implode) is read by neither reader.
  EXPECT_EQ(Agreed(BuildZip({{.name = "a", .content = "abc", .method = 6}}).bytes),
            Verdict::kUnsupported);
}

TEST_F(ZipReader, DamagedDataFailsItsTest) {
  Archive deflated = BuildZip({{.name = "t.txt", .content = Text(50000)}});
  Archive stored = BuildZip({{.name = "r.bin", .content = RandomBytes(5000, 3), .method = 0}});
  {
    SCOPED_TRACE("a flipped byte in deflated data");
    std::string bytes = deflated.bytes;
    bytes[deflated.dataOffsets[0] + 100] ^= 0x55;
    EXPECT_NE(Agreed(bytes), Verdict::kGood);
  }
  {
    SCOPED_TRACE("a flipped byte in stored data");
    std::string bytes = stored.bytes;
    bytes[stored.dataOffsets[0] + 10] ^= 0x01;
    EXPECT_EQ(Agreed(bytes), Verdict::kBadData);
  }
  {
    SCOPED_TRACE("a wrong CRC in the directory");
    std::string bytes = stored.bytes;
    Put32(bytes, stored.centralOffsets[0] + kCentralCrc, 0x12345678);
    EXPECT_EQ(Agreed(bytes), Verdict::kBadData);
  }
  // libzip takes the next three for good: it checks neither the size nor
  // that the deflate stream ends. Other unzip tools refuse such members.
  {
    SCOPED_TRACE("a deflate stream that does not end");
    Archive small = BuildZip({{.name = "b", .content = "bbbb"}});
    std::string bytes = small.bytes;
    bytes[small.dataOffsets[0]] &= ~1;  // the only block is no longer the last one
    EXPECT_EQ(Judge(Put(bytes)), Verdict::kBadData);
  }
  {
    SCOPED_TRACE("an uncompressed size that is too small");
    std::string bytes = deflated.bytes;
    Put32(bytes, deflated.centralOffsets[0] + kCentralUncompressedSize, 49999);
    EXPECT_EQ(Judge(Put(bytes)), Verdict::kBadData);
  }
  {
    SCOPED_TRACE("an uncompressed size that is too large");
    std::string bytes = deflated.bytes;
    Put32(bytes, deflated.centralOffsets[0] + kCentralUncompressedSize, 50001);
    EXPECT_EQ(Judge(Put(bytes)), Verdict::kBadData);
  }
}

TEST_F(ZipReader, TruncatedArchivesFail) {
  Archive archive = BuildZip(kMixed);
  for (std::size_t keep : {std::size_t{0}, std::size_t{10}, archive.dataOffsets[1] + 500,
                           archive.endOffset, archive.bytes.size() - 1}) {
    SCOPED_TRACE(keep);
    EXPECT_NE(Agreed(archive.bytes.substr(0, keep)), Verdict::kGood);
  }
  // Data cut out of the middle: the directory no longer lies where it says.
  std::string cut = archive.bytes;
  cut.erase(archive.dataOffsets[1] + 100, 1000);
  EXPECT_EQ(Agreed(cut), Verdict::kDamaged);
}

TEST_F(ZipReader, ExtractStopsAtTheSizeLimit) {
  std::string path = Put(BuildZip(kMixed).bytes);
  ZipArchive archive(path);
  const zipreader::Member& text = archive.members()[2];
  EXPECT_FALSE(archive.Extract(text, 299999));
  EXPECT_EQ(archive.Extract(text, 300000), Text(300000));
}

TEST_F(ZipReader, MissingOrForeignFilesAreNoArchives) {
  EXPECT_EQ(Judge(folder_ / "absent.zip"), Verdict::kNotZip);
  EXPECT_EQ(Judge(folder_.path()), Verdict::kNotZip);
  EXPECT_EQ(Agreed(Text(5000)), Verdict::kNotZip);
}

}  // namespace
}  // namespace ziptest
