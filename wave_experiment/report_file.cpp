#include "wave_experiment/report_file.h"

#include <windows.h>

#include <utility>

#include "forms/platform/whole_file.h"
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

}  // namespace

bool WriteFloppyReport(const std::wstring& path, std::string_view bytes) {
  CriticalErrorBoxOff quiet;
  forms::UniqueHandle file = forms::CreateForWriting(path);
  if (!file) {
    GreekConfirm::VeruGreekConfirm("Σφάλμα δισκέτας", "Δεν είναι δυνατή η εγγραφή στη δισκέτα.", 0);
    return false;
  }
  if (const forms::WriteOutcome written = forms::WriteAndClose(std::move(file), bytes); !written.ok) {
    // A write that failed without a reason still failed.
    throw InOutError(written.error ? written.error : ERROR_WRITE_FAULT);
  }
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
  GreekConfirm::VeruGreekConfirm(
      "2ο Πείραμα", ok ? "Τα αποτελέσματα αποθηκεύτηκαν." : "Τα αποτελέσματα δεν αποθηκεύτηκαν στη δισκέτα.",
      0);
  return true;
}

}  // namespace results
