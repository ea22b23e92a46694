// Uploaded zip archives, tested through the UnZip library's single-call entry
// the way the checker calls it, and read by the zip reader that takes
// file_id.diz out of them. The library must answer with one of its result
// codes, agree with the reader, and a member the reader hands out must be
// exactly the member its header describes.
#include <optional>

#include "checker/crc/cls_crc.h"
#include "checker/unzip/vb_unz_bas.h"
#include "platform/file_system.h"
#include "tests/fuzz/fuzz_support.h"
#include "unzip32/zip_reader.h"

namespace {

constexpr std::size_t kMaxExtract = 1 << 20;  // what the checker allows file_id.diz
constexpr std::size_t kMaxMembersChecked = 64;

bool IsResultCode(int code) {
  for (int known : {PK_OK, PK_WARN, PK_ERR, PK_BADERR, PK_MEM, PK_NOZIP, IZ_UNSUP}) {
    if (code == known) return true;
  }
  return false;
}

void CheckMember(zipreader::ZipArchive& archive, const zipreader::Member& member,
                 std::string_view input) {
  const zipreader::Verdict verdict = archive.Test(member);
  const std::optional<std::string> content = archive.Extract(member, kMaxExtract);
  if (!content) return;
  FUZZ_CHECK(verdict == zipreader::Verdict::kGood, input);
  FUZZ_CHECK(content->size() <= kMaxExtract, input);
  FUZZ_CHECK(content->size() == member.uncompressedSize, input);
  clsCRC crc(platform::SystemFileSystem());
  const auto value = static_cast<std::uint32_t>(crc.CalculateString(*content));
  FUZZ_CHECK(content->empty() || value == member.crc, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchPath("upload.zip");
  fuzz::PutFile(path, input);

  const int result = TestArchive(path);
  FUZZ_CHECK(IsResultCode(result), input);

  zipreader::ZipArchive archive(path);
  const bool readable = archive.verdict() == zipreader::Verdict::kGood;
  // A good result needs a readable archive with members.
  if (result == PK_OK) FUZZ_CHECK(readable && !archive.members().empty(), input);
  if (!readable) FUZZ_CHECK(result != PK_OK && result != PK_WARN, input);

  bool allGood = !archive.members().empty();
  std::size_t checked = 0;
  for (const zipreader::Member& member : archive.members()) {
    if (archive.Test(member) != zipreader::Verdict::kGood) allGood = false;
    if (checked++ < kMaxMembersChecked) CheckMember(archive, member, input);
  }
  if (readable) FUZZ_CHECK(allGood == (result == PK_OK), input);
  return 0;
}
