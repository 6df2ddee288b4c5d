// Files of a test's own: a scratch folder and the fixture data file.
#pragma once
#include <string>

#include "file_bytes.h"
#include "scratch_folder.h"

namespace kelmora_test {

using testing_support::ReadFileBytes;
using testing_support::ScratchFolder;
using testing_support::WriteFileBytes;

// A data file of the program (code page 1253, CR LF): two questions, answers, two 2 x 3
// tables.
inline std::string FixtureFile() {
  const char* lines[] = {"Πώς εξαρτάται η ταχύτητα από τη δύναμη;",
                         "----------",
                         "Αυξάνεται με τη δύναμη.",
                         "----------",
                         "Πώς εξαρτάται από την πυκνότητα;",
                         "----------",
                         "",
                         "----------",
                         "2",
                         "2",
                         "3",
                         "3.5",
                         "0.4",
                         "11.8",
                         "7",
                         "0.1",
                         "8.4",
                         "2",
                         "3",
                         "Ε1",
                         "d1",
                         "",
                         "",
                         "",
                         "x"};
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

}  // namespace kelmora_test
