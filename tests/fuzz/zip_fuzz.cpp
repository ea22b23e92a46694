// Uploaded zip archives: the library's test as the checker calls it agrees
// with the zip reader, and a member the reader hands out is exactly the one
// its header describes.
#include "checker/crc/cls_crc.h"
#include "checker/unzip/vb_unz_bas.h"
#include "platform/file_system.h"
#include "tests/fuzz/fuzz_support.h"
#include "unzip32/zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchPath("upload.zip");
  support::WriteFile(path, input);
  const int result = TestArchive(path);
  zipreader::ZipArchive archive(path);
  bool allGood = archive.verdict() == zipreader::Verdict::kGood && !archive.members().empty();
  clsCRC crc(platform::SystemFileSystem());
  for (const zipreader::Member& member : archive.members()) {
    const bool good = archive.Test(member) == zipreader::Verdict::kGood;
    allGood = allGood && good;
    const auto content = archive.Extract(member, 1 << 20);  // what the checker allows file_id.diz
    if (!content) continue;
    FUZZ_CHECK(good && content->size() == member.uncompressedSize, input);
    const auto value = static_cast<std::uint32_t>(crc.CalculateString(*content));
    FUZZ_CHECK(content->empty() || value == member.crc, input);
  }
  FUZZ_CHECK(allGood == (result == PK_OK), input);
  return 0;
}
