#pragma once
// The command line of the bank payroll-card export: the file the window writes, and its grid as text.
#include <QList>

#include "commands.h"

namespace slp::app {

// slpayprn card --type T --out FILE [...]   and   slpayprn grid card [--sort ...]
QList<Command> cardCommands();

}  // namespace slp::app
