// Writing the floppy report, and the save that tells the student how it went.
#pragma once
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace results {

// Creates or truncates the report and writes its bytes, with the platform's critical-error
// box ("no disk in drive A:") turned off. When the file cannot be created: the "Σφάλμα
// δισκέτας" message and false. A write, flush or close that fails after that raises the
// I/O error that the general error report shows; true only when every byte reached the disk.
bool WriteFloppyReport(const std::wstring& path, std::string_view bytes);

// The save button: the data file first, then the report, then the "2ο Πείραμα" message with
// the outcome; true. A data file that cannot be written (writeDataFile raises InOutError) is
// told in the same dialog, with the reason, and the save stops there: no report, no other
// message; false.
bool SaveExperiment(const std::function<void()>& writeDataFile,
                    const std::function<bool()>& writeResultsFile);

// The message that the data were not saved, and why, for the platform's error code.
std::string DataFileNotSavedText(unsigned long code);

// Codes of the data file's own refusals, beside the platform's: a folder stands where the
// file should be, and the file is marked read-only (which a process with every right to the
// disk would otherwise write over).
inline constexpr unsigned long kFolderInPlaceOfFile = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED
inline constexpr unsigned long kFileReadOnly = 6009;        // ERROR_FILE_READ_ONLY

// The I/O error of a failed file operation, numbered by the platform's error code.
class InOutError : public std::runtime_error {
 public:
  explicit InOutError(unsigned long code)
      : std::runtime_error("I/O error " + std::to_string(code)), code_(code) {}
  unsigned long Code() const { return code_; }

 private:
  unsigned long code_;
};

}  // namespace results
