#pragma once

#include <span>

#include "Commands.h"

// Every subcommand the program was built with.
std::span<const TCliCommand* const> CliCommands();
