#include "wave_experiment/report_file.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/GreekConfirm.h"

namespace results {
namespace {

// Without it a missing floppy shows the platform's own "no disk" box before our message.
class CriticalErrorBoxOff {
 public:
  CriticalErrorBoxOff() : previous_(GetErrorMode()) { SetErrorMode(previous_ | SEM_FAILCRITICALERRORS); }
  ~CriticalErrorBoxOff() { SetErrorMode(previous_); }
  CriticalErrorBoxOff(const CriticalErrorBoxOff&) = delete;
  CriticalErrorBoxOff& operator=(const CriticalErrorBoxOff&) = delete;

 private:
  UINT previous_;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return h_; }
  // Closes now, reporting whether the close itself went through.
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != FALSE;
  }

 private:
  HANDLE h_;
};

[[noreturn]] void RaiseLastError() {
  DWORD code = GetLastError();
  throw InOutError(code ? code : ERROR_WRITE_FAULT);
}

}  // namespace

bool WriteFloppyReport(const std::wstring& path, std::string_view bytes) {
  CriticalErrorBoxOff quiet;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    GreekConfirm::VeruGreekConfirm("Σφάλμα δισκέτας", "Δεν είναι δυνατή η εγγραφή στη δισκέτα.", 0);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) RaiseLastError();
    done += written;
  }
  if (!FlushFileBuffers(file.Get())) RaiseLastError();
  if (!file.Close()) RaiseLastError();
  return true;
}

std::string DataFileNotSavedText(unsigned long code) {
  struct Reason {
    unsigned long code;
    const char* text;
  };
  static const Reason kReasons[] = {
      {ERROR_PATH_NOT_FOUND, "Ο φάκελος του αρχείου δεδομένων δεν υπάρχει."},
      {ERROR_DIRECTORY, "Ο φάκελος του αρχείου δεδομένων δεν υπάρχει."},
      {kFolderInPlaceOfFile, "Στη θέση του αρχείου δεδομένων υπάρχει φάκελος."},
      {kFileReadOnly, "Το αρχείο δεδομένων είναι μόνο για ανάγνωση."},
      {ERROR_WRITE_PROTECT, "Ο δίσκος δεν επιτρέπει την εγγραφή."},
      // 5
      {ERROR_DISK_FULL, "Ο δίσκος είναι γεμάτος."},
      {ERROR_HANDLE_DISK_FULL, "Ο δίσκος είναι γεμάτος."},
      {ERROR_SHARING_VIOLATION, "Το αρχείο δεδομένων χρησιμοποιείται από άλλο πρόγραμμα."},
      {ERROR_LOCK_VIOLATION, "Το αρχείο δεδομένων χρησιμοποιείται από άλλο πρόγραμμα."},
      {ERROR_ACCESS_DENIED, "Δεν επιτρέπεται η εγγραφή του αρχείου δεδομένων."},
  };
  std::string text = "Τα δεδομένα δεν αποθηκεύτηκαν. ";
  for (const Reason& r : kReasons) {
    if (r.code == code) return text + r.text;
  }
  return text + "Ο δίσκος δεν δέχτηκε την εγγραφή (σφάλμα " + std::to_string(code) + ").";
}

bool SaveExperiment(const std::function<void()>& writeDataFile,
                    const std::function<bool()>& writeResultsFile) {
  try {
    writeDataFile();
  } catch (const InOutError& e) {
    GreekConfirm::VeruGreekConfirm("2ο Πείραμα", DataFileNotSavedText(e.Code()), 0);
    return false;
  }
  bool ok = writeResultsFile();
  GreekConfirm::VeruGreekConfirm("2ο Πείραμα",
                                 ok ? "Τα αποτελέσματα αποθηκεύτηκαν."
                                    : "Τα αποτελέσματα δεν αποθηκεύτηκαν στη δισκέτα.",
                                 0);
  return true;
}

}  // namespace results
