// The table of subcommands, in the order the program's help lists them.

#include "CommandTable.h"

namespace {

const TCliCommand* const kCommands[] = {
    &kInfoCommand,
    &kExportCommand,
#ifdef TRACEWELL_CLI_RENDER
    &kRenderCommand,
#endif
};

}  // namespace

std::span<const TCliCommand* const> CliCommands() {
  return kCommands;
}
