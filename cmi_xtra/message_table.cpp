#include "cmi_xtra/message_table.h"

namespace lmint {

const std::string& messageTableText() {
  static const std::string text = [] {
    std::string t = "xtra LumenoInterface\nnew object me\n-- Template handlers --\n";
    for (const HandlerRow& row : handlerRows) {
      t += "* ";
      t += row.name;
      if (!row.arguments.empty()) {
        t += ' ';
        t += row.arguments;
      }
      t += " -- ";
      t += row.comment;
      t += '\n';
    }
    return t;
  }();
  return text;
}

}  // namespace lmint
