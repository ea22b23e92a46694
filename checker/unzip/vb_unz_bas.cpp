#include "checker/unzip/vb_unz_bas.h"

namespace {
// The library's include and exclude lists: no member selection.
char* noNames[] = {nullptr};
}  // namespace

void VBUnzBas::RunUnzip() {
  DCL options{};
  std::int32_t* flags[kDclFlagCount] = {&options.ExtractOnlyNewer,
                                        &options.SpaceToUnderscore,
                                        &options.PromptToOverwrite,
                                        &options.fQuiet,
                                        &options.ncflag,
                                        &options.ntflag,
                                        &options.nvflag,
                                        &options.nfflag,
                                        &options.nzflag,
                                        &options.ndflag,
                                        &options.noflag,
                                        &options.naflag,
                                        &options.nZIflag,
                                        &options.C_flag,
                                        &options.fPrivilege};
  for (std::size_t k = 0; k < optionFlags.size(); ++k) *flags[k] = optionFlags[k];
  options.lpszZipFN = archiveName.c_str();
  options.lpszExtractDir = extractionFolder.empty() ? nullptr : extractionFolder.c_str();

  USERFUNCTIONS callbacks{};
  callbacks.print = &UnzipPrint;
  callbacks.sound = nullptr;
  callbacks.replace = &UnzipReplace;
  callbacks.password = &UnzipPassword;
  callbacks.SendApplicationMessage = &UnzipMessage;
  callbacks.ServCallBk = &UnzipService;

  resultCode_ = Wiz_SingleEntryUnzip(0, noNames, 0, noNames, &options, &callbacks);
}

int UZ_CALLBACK VBUnzBas::UnzipPrint(char*, std::uint32_t) { return 0; }

int UZ_CALLBACK VBUnzBas::UnzipReplace(char*) { return IDM_REPLACE_YES; }

// No password is ever given: the buffer is left alone.
int UZ_CALLBACK VBUnzBas::UnzipPassword(char*, int, const char*, const char*) { return 1; }

void UZ_CALLBACK VBUnzBas::UnzipMessage(std::uint32_t, std::uint32_t, unsigned, unsigned, unsigned,
                                        unsigned, unsigned, unsigned, char, const char*,
                                        const char*, std::uint32_t, char) {}

int UZ_CALLBACK VBUnzBas::UnzipService(const char*, std::uint32_t) { return 0; }

std::int32_t TestArchive(const std::string& archivePath) {
  VBUnzBas unzip;
  unzip.optionFlags[VBUnzBas::kTestFlag] = 1;
  unzip.archiveName = archivePath;
  unzip.optionFlags[VBUnzBas::kListFlag] = 1;
  unzip.RunUnzip();
  return unzip.resultCode();
}
