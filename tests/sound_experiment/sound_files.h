// The sound program's fixture data file (code page 1253, CR LF): two questions, an answer,
// one 5 x 4 table.
#pragma once
#include <string>

namespace sound_test {

inline std::string SoundFixtureLines(int cells) {
  const char* head[] = {"Πώς εξαρτάται η ταχύτητα του ήχου από την πυκνότητα του αέρα;",
                        "----------",
                        "Δεν εξαρτάται.",
                        "----------",
                        "Πώς εξαρτάται η ταχύτητα του ήχου από τη θερμοκρασία;",
                        "----------",
                        "",
                        "----------",
                        "1",
                        "5",
                        "4"};
  std::string s;
  for (const char* l : head) s += std::string(l) + "\r\n";
  for (int i = 0; i < cells; ++i) s += std::to_string(100 + i) + "\r\n";
  return s;
}

inline std::string SoundFixtureFile() { return SoundFixtureLines(20); }

}  // namespace sound_test
