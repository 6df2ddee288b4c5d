// The list dialog meets whatever rows and headings an author's piece passes: the row scan,
// the heading split, the layout and the result text must stay inside their arrays and blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "system_services/dialogs/dialog_layout.h"

namespace {

int32_t Width(void*, std::string_view text) { return static_cast<int32_t>(text.size() * 6); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rxsystem;
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  // Up to the first NUL: the heading; after it: the rows.
  const size_t cut = input.find('\0');
  std::string heading = input.substr(0, cut);
  std::string rows = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  rows.resize(std::strlen(rows.c_str()));  // the host's text ends at its NUL

  ListRequest request;
  request.width = static_cast<int8_t>(flags) * 3;
  request.fixedFont = flags & 1;
  request.sort = flags & 2;
  request.multipleSelect = flags & 4;
  request.listLines = flags >> 4;
  request.gapPixels = 12;
  request.buttons = ChooseButtons("OK", (flags & 8) ? "Cancel" : nullptr, "Help");
  if (!SplitHeading(heading, request.heading)) return 0;
  const ListScan scan = ScanListRows(rows.data(), request.columnWidths, Width, nullptr);
  if (scan.tooManyColumns) return 0;
  if (scan.columns > kMaxListColumns || scan.rows < 0) std::abort();
  size_t ends = 0;
  for (char c : rows) ends += c == '\0';
  if (static_cast<size_t>(scan.rows) < ends || static_cast<size_t>(scan.rows) > ends + 1) std::abort();
  request.columns = scan.columns;
  ListTabStops(request.columnWidths, scan.columns, request.gapPixels, 6);
  const DialogLayout layout = LayoutList(request, FontMetrics{6, 13});
  if (layout.count > kMaxDialogItems) std::abort();

  std::vector<char> block(ListResultSize(scan.rows));
  ResultWriter out(block.data(), block.size());
  WriteButtonDigit(out, flags & 3);
  std::vector<uint32_t> all(static_cast<size_t>(scan.rows));
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint32_t>(i);
  WriteMultipleSelection(out, static_cast<uint32_t>(all.size()), all);
  if (out.Length() + 1 > block.size()) std::abort();
  return 0;
}
