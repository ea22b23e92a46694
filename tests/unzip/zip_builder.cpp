#include "tests/unzip/zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace ziptest {
namespace {

constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;

void Add(std::string& bytes, std::uint64_t value, int size) {
  bytes.append(size, '\0');
  Put(bytes, bytes.size() - size, value, size);
}

// A zlib stream without its two-byte header and four-byte checksum is the raw
// deflate data a zip member holds.
std::string Deflate(const std::string& content) {
  uLongf size = compressBound(content.size());
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(content.data()), content.size(), 9) != Z_OK) {
    throw std::runtime_error("compress2");
  }
  return out.substr(2, size - 6);
}

}  // namespace

void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}

Archive BuildZip(const std::vector<Entry>& entries) {
  Archive archive;
  std::string& out = archive.bytes;
  std::string central;
  bool zip64End = false;
  for (const Entry& e : entries) {
    zip64End = zip64End || e.zip64;
    const std::string data = e.method == 8 ? Deflate(e.content) : e.content;
    const auto crc = static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(e.content.data()), static_cast<uInt>(e.content.size())));
    const std::uint16_t flags = e.flags | (e.dataDescriptor ? 0x0008 : 0);
    const std::size_t localOffset = out.size();
    // Version, flags, method, 12:00 on 2025-01-01: the same in both headers.
    const auto common = [&](std::string& header) {
      for (std::uint64_t field : {e.zip64 ? 45 : 20, +flags, +e.method, 0x6000, 0x5A21}) {
        Add(header, field, 2);
      }
    };

    std::string localExtra;
    if (e.zip64) {
      for (std::uint64_t field : {1, 16}) Add(localExtra, field, 2);
      Add(localExtra, e.dataDescriptor ? 0 : e.content.size(), 8);
      Add(localExtra, e.dataDescriptor ? 0 : data.size(), 8);
    }
    const auto inLocal = [&](std::uint64_t value) -> std::uint64_t {
      return e.dataDescriptor ? 0 : e.zip64 ? kMarker32 : value;
    };
    Add(out, 0x04034b50, 4);
    common(out);
    Add(out, e.dataDescriptor ? 0 : crc, 4);
    Add(out, inLocal(data.size()), 4);
    Add(out, inLocal(e.content.size()), 4);
    Add(out, e.name.size(), 2);
    Add(out, localExtra.size(), 2);
    out += e.name + localExtra;
    archive.dataOffsets.push_back(out.size());
    out += data;
    if (e.dataDescriptor) {
      Add(out, 0x08074b50, 4);
      Add(out, crc, 4);
      Add(out, data.size(), e.zip64 ? 8 : 4);
      Add(out, e.content.size(), e.zip64 ? 8 : 4);
    }

    std::string centralExtra;
    if (e.zip64) {
      for (std::uint64_t field : {1, 24}) Add(centralExtra, field, 2);
      for (std::uint64_t field : {e.content.size(), data.size(), localOffset}) {
        Add(centralExtra, field, 8);
      }
    }
    archive.centralOffsets.push_back(central.size());
    Add(central, 0x02014b50, 4);
    Add(central, e.zip64 ? 45 : 20, 2);  // made by
    common(central);
    Add(central, crc, 4);
    Add(central, e.zip64 ? kMarker32 : data.size(), 4);
    Add(central, e.zip64 ? kMarker32 : e.content.size(), 4);
    Add(central, e.name.size(), 2);
    Add(central, centralExtra.size(), 2);
    Add(central, 0, 6);  // comment length, disk, internal attributes
    Add(central, 0, 4);  // external attributes
    Add(central, e.zip64 ? kMarker32 : localOffset, 4);
    central += e.name + centralExtra;
  }
  const std::size_t directoryOffset = out.size();
  for (std::size_t& offset : archive.centralOffsets) offset += directoryOffset;
  out += central;

  if (zip64End) {
    const std::size_t end64 = out.size();
    Add(out, 0x06064b50, 4);
    Add(out, 44, 8);
    Add(out, 45, 2);
    Add(out, 45, 2);
    Add(out, 0, 8);  // disks
    for (std::uint64_t field : {entries.size(), entries.size(), central.size(), directoryOffset}) {
      Add(out, field, 8);
    }
    Add(out, 0x07064b50, 4);
    Add(out, 0, 4);
    Add(out, end64, 8);
    Add(out, 1, 4);
  }
  archive.endOffset = out.size();
  Add(out, 0x06054b50, 4);
  Add(out, 0, 4);  // disks
  Add(out, zip64End ? 0xFFFF : entries.size(), 2);
  Add(out, zip64End ? 0xFFFF : entries.size(), 2);
  Add(out, zip64End ? kMarker32 : central.size(), 4);
  Add(out, zip64End ? kMarker32 : directoryOffset, 4);
  Add(out, 0, 2);
  return archive;
}

}  // namespace ziptest
