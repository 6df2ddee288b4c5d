#include "pe_image.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace pe {
namespace {

std::string Hex(std::uint64_t v) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%llx", static_cast<unsigned long long>(v));
  return b;
}

// The optional header's fields differ in place between the two formats.
struct OptionalLayout {
  std::uint64_t minimumSize;
  std::uint64_t imageBase;
  int imageBaseBytes;
  std::uint64_t directoryCount;
  std::uint64_t directories;
  int thunkBytes;
};
constexpr OptionalLayout kPe32Layout{96, 28, 4, 92, 96, 4};
constexpr OptionalLayout kPe32PlusLayout{112, 24, 8, 108, 112, 8};

constexpr std::uint64_t kSectionHeaderBytes = 40;
constexpr std::uint64_t kImportDescriptorBytes = 20;
constexpr std::uint64_t kDelayDescriptorBytes = 32;
constexpr std::uint64_t kExportDirectoryBytes = 40;
constexpr std::uint64_t kResourceDirectoryBytes = 16;
constexpr std::uint64_t kResourceEntryBytes = 8;
constexpr std::uint64_t kResourceDataEntryBytes = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;

}  // namespace

std::string ResourceId::Text() const { return named ? name : "#" + std::to_string(id); }

Image::Image(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
  if (U16(0, "the DOS header's signature") != 0x5A4D) throw PeError("no MZ signature at offset 0");
  const std::uint64_t peHeader = U32(0x3C, "the DOS header's offset of the PE header");
  if (U32(peHeader, "the PE signature") != 0x00004550)
    throw PeError("no PE signature at offset " + Hex(peHeader));
  const std::uint64_t coff = peHeader + 4;
  machine_ = U16(coff, "the machine");
  const std::uint16_t sectionCount = U16(coff + 2, "the number of sections");
  const std::uint16_t optionalSize = U16(coff + 16, "the size of the optional header");
  characteristics_ = U16(coff + 18, "the characteristics");

  const std::uint64_t optional = coff + 20;
  Need(optional, optionalSize, "the optional header");
  magic_ = U16(optional, "the optional header's magic");
  const OptionalLayout* layout = magic_ == kMagicPe32       ? &kPe32Layout
                                 : magic_ == kMagicPe32Plus ? &kPe32PlusLayout
                                                            : nullptr;
  if (!layout) throw PeError("unknown optional header magic " + Hex(magic_));
  if (optionalSize < layout->minimumSize)
    throw PeError("the optional header has " + std::to_string(optionalSize) + " bytes, fewer than its " +
                  std::to_string(layout->minimumSize) + " fixed ones");
  subsystem_ = U16(optional + 68, "the subsystem");
  imageBase_ = layout->imageBaseBytes == 4 ? U32(optional + layout->imageBase, "the image base")
                                           : U64(optional + layout->imageBase, "the image base");
  const std::uint64_t directoryCount =
      U32(optional + layout->directoryCount, "the number of data directories");
  if (layout->directories + 8 * directoryCount > optionalSize)
    throw PeError("the optional header names " + std::to_string(directoryCount) +
                  " data directories but has room for " +
                  std::to_string((optionalSize - layout->directories) / 8));
  for (std::uint64_t i = 0; i < directoryCount; ++i) {
    const std::uint64_t at = optional + layout->directories + 8 * i;
    directories_.push_back({U32(at, "a data directory"), U32(at + 4, "a data directory")});
  }

  const std::uint64_t table = optional + optionalSize;
  Need(table, kSectionHeaderBytes * sectionCount, "the section table");
  for (std::uint64_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t at = table + kSectionHeaderBytes * i;
    Section s;
    for (std::uint64_t c = 0; c < 8 && bytes_[at + c] != 0; ++c)
      s.name.push_back(static_cast<char>(bytes_[at + c]));
    s.virtualSize = U32(at + 8, "a section's virtual size");
    s.virtualAddress = U32(at + 12, "a section's address");
    s.rawSize = U32(at + 16, "a section's file size");
    s.rawOffset = U32(at + 20, "a section's file offset");
    // A cut-off file is seen here even where the directories read lie before the cut.
    if (s.rawSize != 0)
      Need(s.rawOffset, s.rawSize, "the file data of section " + std::to_string(i) + " (" + s.name + ")");
    sections_.push_back(s);
  }
}

Image Image::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PeError("cannot open " + path.string());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw PeError("cannot read " + path.string());
  return Image(std::move(bytes));
}

DataDirectory Image::Directory(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= directories_.size()) return {};
  return directories_[static_cast<std::size_t>(index)];
}

void Image::Need(std::uint64_t offset, std::uint64_t size, const std::string& what) const {
  if (offset > bytes_.size() || size > bytes_.size() - offset)
    throw PeError(what + ": " + std::to_string(size) + " bytes at file offset " + Hex(offset) +
                  " reach beyond the end of the file (" + std::to_string(bytes_.size()) + " bytes)");
}

// Little-endian byte by byte: no alignment, and the build machine's byte order does not matter.
std::uint16_t Image::U16(std::uint64_t offset, const std::string& what) const {
  Need(offset, 2, what);
  return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

std::uint32_t Image::U32(std::uint64_t offset, const std::string& what) const {
  Need(offset, 4, what);
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | bytes_[offset + static_cast<std::uint64_t>(i)];
  return v;
}

std::uint64_t Image::U64(std::uint64_t offset, const std::string& what) const {
  Need(offset, 8, what);
  return static_cast<std::uint64_t>(U32(offset + 4, what)) << 32 | U32(offset, what);
}

Image::Mapped Image::Map(std::uint64_t rva, const std::string& what) const {
  for (const Section& s : sections_) {
    // What lies past the virtual size is not loaded, though the file data may go on (padding).
    const std::uint64_t loaded = s.virtualSize == 0 ? s.rawSize : std::min(s.virtualSize, s.rawSize);
    if (rva >= s.virtualAddress && rva - s.virtualAddress < loaded) {
      const std::uint64_t into = rva - s.virtualAddress;
      return {s.rawOffset + into, loaded - into};
    }
  }
  throw PeError(what + ": RVA " + Hex(rva) + " lies in no section's file data");
}

std::uint64_t Image::FileOffset(std::uint64_t rva, std::uint64_t size, const std::string& what) const {
  const Mapped m = Map(rva, what);
  if (size > m.available)
    throw PeError(what + ": " + std::to_string(size) + " bytes at RVA " + Hex(rva) +
                  " run past the end of their section's file data");
  Need(m.offset, size, what);
  return m.offset;
}

std::string Image::Text(std::uint64_t rva, const std::string& what) const {
  const Mapped m = Map(rva, what);
  Need(m.offset, m.available, what);
  std::string t;
  for (std::uint64_t i = 0; i < m.available; ++i) {
    const std::uint8_t c = bytes_[m.offset + i];
    if (c == 0) return t;
    t.push_back(static_cast<char>(c));
  }
  throw PeError(what + ": the text at RVA " + Hex(rva) + " has no NUL before the end of its section");
}

// `bias` turns the addresses of an old delay-load table (virtual addresses) into RVAs.
std::vector<std::string> Image::ThunkNames(std::uint64_t rva, std::uint64_t bias,
                                           const std::string& what) const {
  const bool wide = magic_ == kMagicPe32Plus;
  const std::uint64_t step = wide ? 8 : 4;
  const std::uint64_t byOrdinal = wide ? std::uint64_t{1} << 63 : kHighBit;
  std::vector<std::string> names;
  for (std::uint64_t i = 0;; ++i) {
    const std::uint64_t at = FileOffset(rva + step * i, step, what + "'s name table");
    const std::uint64_t thunk = wide ? U64(at, what) : U32(at, what);
    if (thunk == 0) return names;
    if (thunk & byOrdinal) {
      names.push_back("#" + std::to_string(thunk & 0xFFFF));
    } else {
      // A two-byte hint comes before the name.
      names.push_back(Text(thunk - bias + 2, what + "'s function name"));
    }
  }
}

std::vector<Import> Image::Imports() const {
  std::vector<Import> imports;
  if (const DataDirectory d = Directory(kImportDirectory); d.rva != 0) {
    for (std::uint64_t i = 0;; ++i) {
      const std::uint64_t at = FileOffset(d.rva + kImportDescriptorBytes * i, kImportDescriptorBytes,
                                          "import descriptor " + std::to_string(i));
      const std::uint32_t lookup = U32(at, "an import descriptor");
      const std::uint32_t name = U32(at + 12, "an import descriptor");
      const std::uint32_t addresses = U32(at + 16, "an import descriptor");
      if (lookup == 0 && name == 0 && addresses == 0) break;
      Import im;
      im.dll = Text(name, "import descriptor " + std::to_string(i) + "'s library name");
      // Without the lookup table the address table still holds the names on disk.
      im.functions = ThunkNames(lookup != 0 ? lookup : addresses, 0, "the imports from " + im.dll);
      imports.push_back(std::move(im));
    }
  }
  if (const DataDirectory d = Directory(kDelayImportDirectory); d.rva != 0) {
    for (std::uint64_t i = 0;; ++i) {
      const std::uint64_t at = FileOffset(d.rva + kDelayDescriptorBytes * i, kDelayDescriptorBytes,
                                          "delay-load descriptor " + std::to_string(i));
      const std::uint32_t attributes = U32(at, "a delay-load descriptor");
      const std::uint32_t name = U32(at + 4, "a delay-load descriptor");
      const std::uint32_t names = U32(at + 16, "a delay-load descriptor");
      if (name == 0) break;
      const std::uint64_t bias = (attributes & 1) ? 0 : imageBase_;
      Import im;
      im.delayed = true;
      im.dll = Text(name - bias, "delay-load descriptor " + std::to_string(i) + "'s library name");
      if (names != 0) im.functions = ThunkNames(names - bias, bias, "the delayed imports from " + im.dll);
      imports.push_back(std::move(im));
    }
  }
  return imports;
}

std::vector<Export> Image::Exports() const {
  std::vector<Export> exports;
  const DataDirectory d = Directory(kExportDirectory);
  if (d.rva == 0) return exports;
  const std::uint64_t at = FileOffset(d.rva, kExportDirectoryBytes, "the export directory");
  const std::uint32_t base = U32(at + 16, "the export directory");
  const std::uint64_t functionCount = U32(at + 20, "the export directory");
  const std::uint64_t nameCount = U32(at + 24, "the export directory");
  const std::uint64_t functions =
      FileOffset(U32(at + 28, "the export directory"), 4 * functionCount, "the export address table");
  const std::uint64_t names =
      FileOffset(U32(at + 32, "the export directory"), 4 * nameCount, "the export name pointers");
  const std::uint64_t ordinals =
      FileOffset(U32(at + 36, "the export directory"), 2 * nameCount, "the export name ordinals");
  for (std::uint64_t i = 0; i < nameCount; ++i) {
    Export e;
    e.name = Text(U32(names + 4 * i, "an export name pointer"), "export name " + std::to_string(i));
    const std::uint16_t index = U16(ordinals + 2 * i, "an export name ordinal");
    if (index >= functionCount)
      throw PeError("export " + e.name + " has the ordinal index " + std::to_string(index) + " of only " +
                    std::to_string(functionCount) + " addresses");
    e.ordinal = base + index;
    e.rva = U32(functions + 4 * std::uint64_t{index}, "an export address");
    e.forwarded = e.rva >= d.rva && e.rva - d.rva < d.size;
    exports.push_back(std::move(e));
  }
  return exports;
}

std::vector<Resource> Image::Resources() const {
  std::vector<Resource> resources;
  const DataDirectory d = Directory(kResourceDirectory);
  if (d.rva == 0) return resources;
  // Offsets inside the tree count from its root; a tree is type, then name, then language.
  struct Pending {
    std::uint64_t offset;
    int level;
    ResourceId type, name;
  };
  std::vector<Pending> pending{{0, 0, {}, {}}};
  // Each directory once: a tree that points back into itself would otherwise never end.
  std::set<std::uint64_t> seen;
  const char* const kLevels[] = {"type", "name", "language"};
  while (!pending.empty()) {
    Pending p = std::move(pending.back());
    pending.pop_back();
    if (!seen.insert(p.offset).second)
      throw PeError("the resource directory at offset " + Hex(p.offset) + " is reached twice");
    const std::string where =
        "the resource " + std::string(kLevels[p.level]) + " directory at offset " + Hex(p.offset);
    const std::uint64_t at = FileOffset(d.rva + p.offset, kResourceDirectoryBytes, where);
    const std::uint64_t count = std::uint64_t{U16(at + 12, where)} + U16(at + 14, where);
    const std::uint64_t entries = FileOffset(d.rva + p.offset + kResourceDirectoryBytes,
                                             kResourceEntryBytes * count, where + "'s entries");
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint32_t key = U32(entries + kResourceEntryBytes * i, where);
      const std::uint32_t target = U32(entries + kResourceEntryBytes * i + 4, where);
      ResourceId id;
      if (key & kHighBit) {
        id.named = true;
        const std::uint64_t nameRva = d.rva + (key & ~kHighBit);
        const std::uint64_t length = U16(FileOffset(nameRva, 2, where + "'s entry name"), where);
        const std::uint64_t units = FileOffset(nameRva + 2, 2 * length, where + "'s entry name");
        for (std::uint64_t u = 0; u < length; ++u) {
          const std::uint16_t c = U16(units + 2 * u, where);
          if (c < 0x80) {
            id.name.push_back(static_cast<char>(c));
          } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", static_cast<unsigned>(c));
            id.name += esc;
          }
        }
      } else {
        id.id = key;
      }
      const bool isDirectory = (target & kHighBit) != 0;
      if (isDirectory != (p.level < 2))
        throw PeError(where + ": entry " + id.Text() +
                      (isDirectory ? " is a directory below the languages" : " is data above the languages"));
      if (isDirectory) {
        Pending next{target & ~kHighBit, p.level + 1, p.type, p.name};
        (p.level == 0 ? next.type : next.name) = id;
        pending.push_back(std::move(next));
        continue;
      }
      const std::string what = "the resource " + p.type.Text() + "/" + p.name.Text() + "/" + id.Text();
      if (id.named) throw PeError(what + " has a named language");
      const std::uint64_t entry = FileOffset(d.rva + target, kResourceDataEntryBytes, what + "'s data entry");
      const std::uint32_t dataRva = U32(entry, what);
      const std::uint32_t size = U32(entry + 4, what);
      const std::uint64_t data = FileOffset(dataRva, size, what + "'s data");
      Resource r{p.type, p.name, id.id,
                 std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(data),
                             bytes_.begin() + static_cast<std::ptrdiff_t>(data + size))};
      resources.push_back(std::move(r));
    }
  }
  return resources;
}

}  // namespace pe
