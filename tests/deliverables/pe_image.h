// A reader of Windows images as plain bytes, for checking the built programs and libraries on
// the build machine without loading them. Every read is bounded by the file: a truncated or
// corrupt image throws PeError naming what could not be read, and never reads past the bytes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

class PeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t kMachineI386 = 0x14C;
inline constexpr std::uint16_t kMagicPe32 = 0x10B;
inline constexpr std::uint16_t kMagicPe32Plus = 0x20B;
inline constexpr std::uint16_t kSubsystemWindowsGui = 2;
inline constexpr std::uint16_t kCharacteristicDll = 0x2000;

struct Section {
  std::string name;  // the header's eight bytes up to the first NUL
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawOffset = 0;
  std::uint32_t rawSize = 0;
};

struct DataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};
enum DirectoryIndex {
  kExportDirectory = 0,
  kImportDirectory = 1,
  kResourceDirectory = 2,
  kDelayImportDirectory = 13
};

struct Import {
  std::string dll;
  std::vector<std::string> functions;  // names, or "#<ordinal>" for imports by ordinal
  bool delayed = false;                // from the delay-load table rather than the import table
};

struct Export {
  std::string name;
  std::uint32_t ordinal = 0;
  std::uint32_t rva = 0;
  bool forwarded = false;  // the address is a "dll.name" text, not code of this image
};

// A resource type, name or language: a number, or a name (the file's UTF-16 with every unit
// outside ASCII written as \uXXXX).
struct ResourceId {
  bool named = false;
  std::uint32_t id = 0;
  std::string name;
  // The name, or "#<id>".
  std::string Text() const;
};

struct Resource {
  ResourceId type;
  ResourceId name;
  std::uint32_t language = 0;
  std::string bytes;
};

class Image {
 public:
  // Checks the headers and that the section table's data lies inside the file.
  explicit Image(std::vector<std::uint8_t> bytes);
  static Image Load(const std::filesystem::path& path);

  std::uint16_t machine() const { return machine_; }
  std::uint16_t characteristics() const { return characteristics_; }
  std::uint16_t magic() const { return magic_; }
  std::uint16_t subsystem() const { return subsystem_; }
  const std::vector<Section>& sections() const { return sections_; }
  // {0, 0} where the header has no such entry.
  DataDirectory Directory(int index) const;

  // The directories, read when asked, so a fault in one leaves the others readable.
  std::vector<Import> Imports() const;  // the import table, then the delay-load table
  std::vector<Export> Exports() const;  // the named exports, in the name table's order
  std::vector<Resource> Resources() const;

  // Where [rva, rva + size) lies in the file, when one section's file data holds all of it.
  std::uint64_t FileOffset(std::uint64_t rva, std::uint64_t size, const std::string& what) const;

 private:
  struct Mapped {
    std::uint64_t offset;
    std::uint64_t available;  // bytes of the section's file data from there on
  };
  Mapped Map(std::uint64_t rva, const std::string& what) const;
  void Need(std::uint64_t offset, std::uint64_t size, const std::string& what) const;
  std::uint16_t U16(std::uint64_t offset, const std::string& what) const;
  std::uint32_t U32(std::uint64_t offset, const std::string& what) const;
  std::uint64_t U64(std::uint64_t offset, const std::string& what) const;
  std::string Text(std::uint64_t rva, const std::string& what) const;
  std::vector<std::string> ThunkNames(std::uint64_t rva, std::uint64_t bias, const std::string& what) const;

  std::vector<std::uint8_t> bytes_;
  std::uint16_t machine_ = 0;
  std::uint16_t characteristics_ = 0;
  std::uint16_t magic_ = 0;
  std::uint16_t subsystem_ = 0;
  std::uint64_t imageBase_ = 0;
  std::vector<DataDirectory> directories_;
  std::vector<Section> sections_;
};

}  // namespace pe
