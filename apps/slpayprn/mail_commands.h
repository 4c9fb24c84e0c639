#pragma once
// The electronic slips from the command line, on the logic of the window "发送电子工资条":
// slpayprn mail slips [--smtp URL] [--user NAME] [--password-file FILE] [--from ADDR] [--only 工号]...
//                     [--resend] [--dry-run]
#include <QList>

#include "commands.h"

namespace slp::app {

QList<Command> mailCommands();

}  // namespace slp::app
