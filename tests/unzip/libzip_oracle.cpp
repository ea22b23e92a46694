#include "tests/unzip/libzip_oracle.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace ziptest {

bool LibzipAccepts(const std::string& path, bool strict) {
  int error = 0;
  std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
      zip_open(path.c_str(), ZIP_RDONLY | (strict ? ZIP_CHECKCONS : 0), &error), &zip_discard);
  if (!archive) return false;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
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

void LibzipWrite(const std::string& path, const std::vector<LibzipEntry>& entries,
                 const char* password) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw std::runtime_error("zip_open " + path);
  for (const LibzipEntry& entry : entries) {
    if (!entry.name.empty() && entry.name.back() == '/') {
      zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_GUESS);
      continue;
    }
    zip_source_t* source =
        zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
    zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_GUESS);
    if (index < 0) {
      zip_source_free(source);
      throw std::runtime_error("zip_file_add " + entry.name);
    }
    const auto at = static_cast<zip_uint64_t>(index);
    zip_set_file_compression(archive, at, entry.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    if (password) zip_file_set_encryption(archive, at, ZIP_EM_TRAD_PKWARE, password);
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    throw std::runtime_error("zip_close " + path);
  }
}

}  // namespace ziptest
