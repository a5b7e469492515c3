#pragma once

// The subcommands of tracewell-cli. A subcommand is one source file that defines its
// TCliCommand, and one line in the table of CommandTable.cpp.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "ArgParser.h"

// Exit codes of the program.
inline constexpr int kExitOk = 0;      // done; warnings may have been printed
inline constexpr int kExitFailed = 1;  // a file could not be read, computed or written
inline constexpr int kExitUsage = 2;   // bad command line

struct TCliIO {
  std::ostream& FOut;  // results
  std::ostream& FErr;  // errors, warnings and help requested by mistake
};

struct TCliCommand {
  std::string_view FName;
  std::string_view FSummary;  // one line for the program's help
  // Runs the command with the arguments that follow its name; returns the exit code.
  int (*FRun)(std::span<const std::string> args, TCliIO& io);
};

extern const TCliCommand kInfoCommand;
extern const TCliCommand kExportCommand;
#ifdef TRACEWELL_CLI_RENDER
extern const TCliCommand kRenderCommand;
#endif

// The program: `args` without the program name. Handles --help and --version and hands the rest
// to the command named first.
int RunCli(std::span<const TCliCommand* const> commands, std::span<const std::string> args,
           TCliIO& io);

// The common start of a subcommand: splits its arguments by `specs` and answers --help. Returns
// the exit code when the command is already done (help printed, or a bad option reported with a
// pointer to the command's help); nothing when the command goes on with `args`.
std::optional<int> StartCommand(std::string_view command, std::span<const std::string> argv,
                                std::span<const TOptionSpec> specs,
                                void (*printHelp)(std::ostream&), TCliIO& io, TParsedArgs& args);
// Reports that no run file was given to `command`; returns the usage exit code.
int NoRunFileGiven(std::string_view command, TCliIO& io);

// The program's name and version as --version prints them.
std::string VersionText();
