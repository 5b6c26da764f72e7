#include "upgrade/link_type_line_rule.h"

#include "upgrade/ascii_text.h"

namespace upgrade {

void LinkTypeLineRule::Apply(std::wstring_view line, platform::TextStream& writer) {
  writer.WriteLine(line);
  if (HoldsBothBrackets(line) && !EqualsIgnoringAsciiCase(line, L"[Info]") &&
      !EqualsIgnoringAsciiCase(line, L"[FileGroups]")) {
    writer.WriteLine(L"LINKTYPE=Static Link");
  }
}

}  // namespace upgrade
