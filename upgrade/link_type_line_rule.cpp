#include "upgrade/link_type_line_rule.h"

#include "upgrade/ascii_text.h"

namespace upgrade {

void LinkTypeLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  writer.WriteLineBytes(line);
  if (HoldsBothBrackets(line) && !EqualsIgnoringAsciiCase(line, "[Info]") &&
      !EqualsIgnoringAsciiCase(line, "[FileGroups]")) {
    writer.WriteLineBytes("LINKTYPE=Static Link");
  }
}

}  // namespace upgrade
