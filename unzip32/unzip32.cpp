// The library's single-call entry: tests every member of one archive and
// reports through the caller's callbacks.
#include "unzip32/unzip32.h"

#include <algorithm>
#include <new>
#include <string>

#include "unzip32/zip_format.h"
#include "unzip32/zip_reader.h"

namespace {

using zipreader::Member;
using zipreader::Verdict;

int ResultCode(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGood:
      return PK_OK;
    case Verdict::kNotZip:
      return PK_NOZIP;
    case Verdict::kDamaged:
      return PK_BADERR;
    case Verdict::kTooLarge:
      return PK_MEM;
    case Verdict::kUnsupported:
    case Verdict::kEncrypted:
      return IZ_UNSUP;
    case Verdict::kBadData:
      return PK_ERR;
  }
  return PK_BADERR;
}

std::uint32_t Clamp32(std::uint64_t value) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFu));
}

// Percentage saved by compression, as the listing shows it.
unsigned CompressionFactor(std::uint64_t compressed, std::uint64_t uncompressed) {
  if (uncompressed == 0 || compressed >= uncompressed) return 0;
  return static_cast<unsigned>(100 - compressed * 100 / uncompressed);
}

class Session {
 public:
  Session(const DCL& options, USERFUNCTIONS& callbacks)
      : options_(options), callbacks_(callbacks) {}

  int Run() {
    zipreader::ZipArchive archive(options_.lpszZipFN);
    callbacks_.cchComment = archive.commentLength();
    if (archive.verdict() != Verdict::kGood) {
      Print(std::string(options_.lpszZipFN) + ": " + zipreader::VerdictText(archive.verdict()));
      return ResultCode(archive.verdict());
    }
    if (archive.members().empty()) {
      Print(std::string(options_.lpszZipFN) + ": zipfile is empty");
      return PK_WARN;
    }
    int result = PK_OK;
    for (const Member& member : archive.members()) {
      if (callbacks_.ServCallBk &&
          callbacks_.ServCallBk(member.name.c_str(), Clamp32(member.uncompressedSize)) != 0) {
        return IZ_CTRLC;
      }
      Verdict verdict = archive.Test(member);
      Print("    testing: " + member.name + "   " + zipreader::VerdictText(verdict));
      if (options_.nvflag) SendListing(member);
      Count(member);
      if (result == PK_OK) result = ResultCode(verdict);
    }
    if (result == PK_OK) {
      Print(std::string("No errors detected in compressed data of ") + options_.lpszZipFN + ".");
    }
    return result;
  }

 private:
  void Print(std::string line) {
    if (!callbacks_.print || options_.fQuiet >= 2) return;
    line += '\n';
    callbacks_.print(line.data(), static_cast<std::uint32_t>(line.size()));
  }

  void SendListing(const Member& member) {
    if (!callbacks_.SendApplicationMessage) return;
    unsigned month = (member.dosDate >> 5) & 0x0F;
    unsigned day = member.dosDate & 0x1F;
    unsigned year = ((member.dosDate >> 9) & 0x7F) + 1980;
    unsigned hour = member.dosTime >> 11;
    unsigned minute = (member.dosTime >> 5) & 0x3F;
    const char* method = member.method == zipreader::kStored     ? "Stored"
                         : member.method == zipreader::kDeflated ? "Defl:N"
                                                                 : "Unk";
    callbacks_.SendApplicationMessage(
        Clamp32(member.uncompressedSize), Clamp32(member.compressedSize),
        CompressionFactor(member.compressedSize, member.uncompressedSize), month, day, year, hour,
        minute, ' ', member.name.c_str(), method, member.crc, member.IsEncrypted() ? 'E' : ' ');
  }

  void Count(const Member& member) {
    compressedTotal_ += member.compressedSize;
    uncompressedTotal_ += member.uncompressedSize;
    callbacks_.TotalSizeComp = Clamp32(compressedTotal_);
    callbacks_.TotalSize = Clamp32(uncompressedTotal_);
    callbacks_.CompFactor = CompressionFactor(compressedTotal_, uncompressedTotal_);
    ++callbacks_.NumMembers;
  }

  const DCL& options_;
  USERFUNCTIONS& callbacks_;
  std::uint64_t compressedTotal_ = 0;
  std::uint64_t uncompressedTotal_ = 0;
};

}  // namespace

UZ_EXPORT int UZ_CALLBACK Wiz_SingleEntryUnzip(int ifnc, char** /*ifnv*/, int xfnc, char** /*xfnv*/,
                                               DCL* lpDCL, USERFUNCTIONS* lpUserFunc) {
  if (!lpDCL || !lpUserFunc || !lpDCL->lpszZipFN) return PK_PARAM;
  // Only the test mode over the whole archive is served.
  if (ifnc != 0 || xfnc != 0 || lpDCL->ntflag == 0) return PK_PARAM;
  lpUserFunc->TotalSizeComp = lpUserFunc->TotalSize = lpUserFunc->CompFactor = 0;
  lpUserFunc->NumMembers = 0;
  lpUserFunc->cchComment = 0;
  try {
    return Session(*lpDCL, *lpUserFunc).Run();
  } catch (const std::bad_alloc&) {
    return PK_MEM;
  } catch (...) {
    return PK_BADERR;
  }
}
