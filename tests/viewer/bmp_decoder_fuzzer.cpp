// Any bytes at all: the decoder answers with a picture or an error, never a crash or a read
// outside the buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "viewer/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A small cap keeps each run quick; the cap check itself is the same at any size.
  bmp::Decoded d = bmp::Decode({data, size}, std::size_t{1} << 16);
  if (d.ok() && d.image.pixels.size() !=
                    static_cast<std::size_t>(d.image.width) * static_cast<std::size_t>(d.image.height)) {
    std::abort();
  }
  if (!d.ok() && !d.image.pixels.empty()) std::abort();
  return 0;
}
