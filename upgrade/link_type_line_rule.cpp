#include "upgrade/link_type_line_rule.h"

#include "upgrade/ascii_text.h"

namespace upgrade {

void LinkTypeLineRule::Apply(std::string_view line, platform::TextStream& writer) {
  // Decided before the line is written, so that nothing of the rule is needed after that call.
  const bool header = HoldsBothBrackets(line, leadBytes_) &&
                      !EqualsIgnoringAsciiCase(line, "[Info]") &&
                      !EqualsIgnoringAsciiCase(line, "[FileGroups]");
  writer.WriteLineBytes(line);
  if (header) writer.WriteLineBytes("LINKTYPE=Static Link");
}

}  // namespace upgrade
