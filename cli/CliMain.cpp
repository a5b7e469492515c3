// tracewell-cli: run files on the command line.

#include <iostream>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "Commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  TCliIO io{std::cout, std::cerr};
  return RunCli(CliCommands(), args, io);
}
