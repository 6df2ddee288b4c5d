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

void SaveExperiment(const std::function<void()>& writeDataFile,
                    const std::function<bool()>& writeResultsFile) {
  writeDataFile();
  bool ok = writeResultsFile();
  GreekConfirm::VeruGreekConfirm("2ο Πείραμα",
                                 ok ? "Τα αποτελέσματα αποθηκεύτηκαν."
                                    : "Τα αποτελέσματα δεν αποθηκεύτηκαν στη δισκέτα.",
                                 0);
}

}  // namespace results
