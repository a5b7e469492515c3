#include <algorithm>

#include "Commands.h"

#ifndef TRACEWELL_VERSION
#error "TRACEWELL_VERSION is set by the build from the project version"
#endif

namespace {

void PrintHelp(std::span<const TCliCommand* const> commands, std::ostream& out) {
  out << "Usage: tracewell-cli COMMAND [OPTIONS] FILE...\n"
         "       tracewell-cli --help | --version\n"
         "\n"
         "Reads chassis-dynamometer run files (M301, MH100, MH703) and computes their channels\n"
         "exactly as the viewer does.\n"
         "\n"
         "Commands:\n";
  size_t width = 0;
  for (const TCliCommand* command : commands)
    width = std::max(width, command->FName.size());
  for (const TCliCommand* command : commands)
    out << "  " << command->FName << std::string(width + 3 - command->FName.size(), ' ')
        << command->FSummary << '\n';
  out << "\n"
         "Run 'tracewell-cli COMMAND --help' for the options of a command.\n"
         "Exit status: 0 done (warnings may have been printed), 1 a file could not be read,\n"
         "computed or written, 2 bad command line.\n";
}

}  // namespace

std::optional<int> StartCommand(std::string_view command, std::span<const std::string> argv,
                                std::span<const TOptionSpec> specs,
                                void (*printHelp)(std::ostream&), TCliIO& io, TParsedArgs& args) {
  std::string error;
  if (!ParseArgs(argv, specs, args, error)) {
    io.FErr << "tracewell-cli " << command << ": " << error << "; see 'tracewell-cli " << command
            << " --help'\n";
    return kExitUsage;
  }
  if (args.Has("--help")) {
    printHelp(io.FOut);
    return kExitOk;
  }
  return std::nullopt;
}

int NoRunFileGiven(std::string_view command, TCliIO& io) {
  io.FErr << "tracewell-cli " << command << ": no run file given; see 'tracewell-cli " << command
          << " --help'\n";
  return kExitUsage;
}

std::string VersionText() {
  return std::string("tracewell-cli ") + TRACEWELL_VERSION;
}

int RunCli(std::span<const TCliCommand* const> commands, std::span<const std::string> args,
           TCliIO& io) {
  if (args.empty()) {
    PrintHelp(commands, io.FErr);
    return kExitUsage;
  }
  const std::string& first = args.front();
  if (first == "--help" || first == "-h" || first == "help") {
    PrintHelp(commands, io.FOut);
    return kExitOk;
  }
  if (first == "--version") {
    io.FOut << VersionText() << '\n';
    return kExitOk;
  }
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const TCliCommand* c) { return c->FName == first; });
  if (command == commands.end()) {
    io.FErr << "tracewell-cli: unknown command '" << first
            << "'; run 'tracewell-cli --help' for the list\n";
    return kExitUsage;
  }
  const int code = (*command)->FRun(args.subspan(1), io);
  io.FOut.flush();
  if (!io.FOut) {
    io.FErr << "tracewell-cli: cannot write the output\n";
    return kExitFailed;
  }
  return code;
}
