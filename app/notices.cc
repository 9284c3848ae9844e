#include "app/notices.h"

#include "core/console.h"
#include "core/params.h"

void SayOfArgument(const TSwitchesRec& switches, int32_t index, std::string_view what) {
  ConsoleErr.LfLineEnds = LinesEndInLf(switches);
  WriteText(ConsoleErr, "tokloc: \"");
  WriteAnsiText(ConsoleErr, std::string(ParamStr(index)));
  WriteText(ConsoleErr, what);
  WriteLineEnd(ConsoleErr);
}

void SayOfInput(const TSwitchesRec& switches, int32_t index, const std::string& reason) {
  ConsoleErr.LfLineEnds = LinesEndInLf(switches);
  WriteText(ConsoleErr, "tokloc: ");
  WriteAnsiText(ConsoleErr, index <= ParamCount() ? std::string(ParamStr(index)) : std::string("-"));
  WriteText(ConsoleErr, ": ");
  WriteAnsiText(ConsoleErr, reason);
  WriteLineEnd(ConsoleErr);
}
