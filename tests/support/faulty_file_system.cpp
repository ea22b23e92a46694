#include "tests/support/faulty_file_system.h"

namespace support {

namespace {

using platform::OsError;

// An opened file whose n-th read fails (none when n is 0).
class FaultyInputFile final : public platform::InputFile {
 public:
  FaultyInputFile(std::unique_ptr<platform::InputFile> real, int failingRead)
      : real_(std::move(real)), failingRead_(failingRead) {}

  std::size_t Read(void* buffer, std::size_t size) override {
    if (++reads_ == failingRead_) throw OsError(platform::kDeviceIoError);
    return real_->Read(buffer, size);
  }

 private:
  std::unique_ptr<platform::InputFile> real_;
  int failingRead_;
  int reads_ = 0;
};

}  // namespace

void FaultyFileSystem::FailRead(int n, std::string pathEnding) {
  failingRead_ = n;
  reads_ = std::move(pathEnding);
}

void FaultyFileSystem::CreateFolder(const std::string& path) {
  if (Hits(diskFull_, path)) throw OsError(platform::kDiskFull);
  real_.CreateFolder(path);
}

void FaultyFileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Hits(renames_, from)) throw OsError(platform::kPathFileAccessError);
  real_.MoveFile(from, to);
}

std::vector<platform::DirEntry> FaultyFileSystem::ListFolder(const std::string& path) {
  if (Hits(listings_, path)) throw OsError(platform::kPathFileAccessError);
  return real_.ListFolder(path);
}

std::vector<platform::DirEntry> FaultyFileSystem::ListFolderRemovingLeftovers(
    const std::string& path) {
  if (Hits(listings_, path)) throw OsError(platform::kPathFileAccessError);
  return real_.ListFolderRemovingLeftovers(path);
}

std::vector<std::string> FaultyFileSystem::SystemSearch(const std::string& folder,
                                                        std::string_view pattern) {
  if (Hits(listings_, folder)) throw OsError(platform::kPathFileAccessError);
  return real_.SystemSearch(folder, pattern);
}

std::unique_ptr<platform::InputFile> FaultyFileSystem::OpenForReading(const std::string& path) {
  std::unique_ptr<platform::InputFile> file = real_.OpenForReading(path);
  if (!Hits(reads_, path)) return file;
  return std::make_unique<FaultyInputFile>(std::move(file), failingRead_);
}

std::string FaultyFileSystem::ReadWholeFile(const std::string& path) {
  if (Hits(reads_, path) && failingRead_ == 1) throw OsError(platform::kDeviceIoError);
  return real_.ReadWholeFile(path);
}

void FaultyFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  ++wholeWrites_;
  if (Hits(diskFull_, path)) {
    if (real_.FileExists(path)) real_.WriteWholeFile(path, {});
    throw OsError(platform::kDiskFull);
  }
  real_.WriteWholeFile(path, bytes);
}

void FaultyFileSystem::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  ++atomicWrites_;
  if (Hits(diskFull_, path)) throw OsError(platform::kDiskFull);
  if (Hits(renames_, path)) throw platform::ReplaceRefused(platform::kPathFileAccessError);
  real_.WriteFileAtomically(path, bytes);
}

}  // namespace support
