#include "tests/unzip/zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace ziptest {
namespace {

constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;

void Add16(std::string& bytes, std::uint16_t value) {
  bytes.append(2, '\0');
  Put16(bytes, bytes.size() - 2, value);
}
void Add32(std::string& bytes, std::uint32_t value) {
  bytes.append(4, '\0');
  Put32(bytes, bytes.size() - 4, value);
}
void Add64(std::string& bytes, std::uint64_t value) {
  bytes.append(8, '\0');
  Put64(bytes, bytes.size() - 8, value);
}

std::string Deflate(const std::string& content) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, content.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
  stream.avail_in = static_cast<uInt>(content.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

std::uint32_t Crc(const std::string& content) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
}

}  // namespace

void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
  for (int i = 0; i < 2; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}
void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}
void Put64(std::string& bytes, std::size_t at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}

Archive BuildZip(const std::vector<Entry>& entries, bool zip64End) {
  Archive archive;
  std::string& out = archive.bytes;
  std::string central;
  for (const Entry& entry : entries) {
    const std::string data = entry.method == 8 ? Deflate(entry.content) : entry.content;
    const std::uint32_t crc = Crc(entry.content);
    const std::uint16_t flags = entry.flags | (entry.dataDescriptor ? 0x0008 : 0);
    const std::uint16_t version = entry.zip64 ? 45 : 20;
    const std::size_t localOffset = out.size();
    archive.localOffsets.push_back(localOffset);

    std::string localExtra;
    if (entry.zip64) {
      Add16(localExtra, 0x0001);
      Add16(localExtra, 16);
      Add64(localExtra, entry.dataDescriptor ? 0 : entry.content.size());
      Add64(localExtra, entry.dataDescriptor ? 0 : data.size());
    }
    Add32(out, 0x04034b50);
    Add16(out, version);
    Add16(out, flags);
    Add16(out, entry.method);
    Add16(out, 0x6000);  // 12:00
    Add16(out, 0x5A21);  // 2025-01-01
    Add32(out, entry.dataDescriptor ? 0 : crc);
    const bool sizesInExtra = entry.zip64;
    Add32(out, entry.dataDescriptor ? 0 : sizesInExtra ? kMarker32 : data.size());
    Add32(out, entry.dataDescriptor ? 0 : sizesInExtra ? kMarker32 : entry.content.size());
    Add16(out, static_cast<std::uint16_t>(entry.name.size()));
    Add16(out, static_cast<std::uint16_t>(localExtra.size()));
    out += entry.name;
    out += localExtra;
    archive.dataOffsets.push_back(out.size());
    out += data;
    if (entry.dataDescriptor) {
      Add32(out, 0x08074b50);
      Add32(out, crc);
      if (entry.zip64) {
        Add64(out, data.size());
        Add64(out, entry.content.size());
      } else {
        Add32(out, data.size());
        Add32(out, entry.content.size());
      }
    }

    std::string centralExtra;
    if (entry.zip64) {
      Add16(centralExtra, 0x0001);
      Add16(centralExtra, 24);
      Add64(centralExtra, entry.content.size());
      Add64(centralExtra, data.size());
      Add64(centralExtra, localOffset);
    }
    archive.centralOffsets.push_back(central.size());
    Add32(central, 0x02014b50);
    Add16(central, version);
    Add16(central, version);
    Add16(central, flags);
    Add16(central, entry.method);
    Add16(central, 0x6000);
    Add16(central, 0x5A21);
    Add32(central, crc);
    Add32(central, entry.zip64 ? kMarker32 : data.size());
    Add32(central, entry.zip64 ? kMarker32 : entry.content.size());
    Add16(central, static_cast<std::uint16_t>(entry.name.size()));
    Add16(central, static_cast<std::uint16_t>(centralExtra.size()));
    Add16(central, 0);  // comment
    Add16(central, 0);  // disk
    Add16(central, 0);  // internal attributes
    Add32(central, 0);  // external attributes
    Add32(central, entry.zip64 ? kMarker32 : localOffset);
    central += entry.name;
    central += centralExtra;
  }
  const std::size_t directoryOffset = out.size();
  for (std::size_t& offset : archive.centralOffsets) offset += directoryOffset;
  out += central;

  if (zip64End) {
    const std::size_t end64 = out.size();
    Add32(out, 0x06064b50);
    Add64(out, 44);
    Add16(out, 45);
    Add16(out, 45);
    Add32(out, 0);
    Add32(out, 0);
    Add64(out, entries.size());
    Add64(out, entries.size());
    Add64(out, central.size());
    Add64(out, directoryOffset);
    Add32(out, 0x07064b50);
    Add32(out, 0);
    Add64(out, end64);
    Add32(out, 1);
  }
  archive.endOffset = out.size();
  Add32(out, 0x06054b50);
  Add16(out, 0);
  Add16(out, 0);
  Add16(out, zip64End ? 0xFFFF : static_cast<std::uint16_t>(entries.size()));
  Add16(out, zip64End ? 0xFFFF : static_cast<std::uint16_t>(entries.size()));
  Add32(out, zip64End ? kMarker32 : central.size());
  Add32(out, zip64End ? kMarker32 : directoryOffset);
  Add16(out, 0);
  return archive;
}

}  // namespace ziptest
