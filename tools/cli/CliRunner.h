#pragma once

#include <QStringList>

namespace vornel::cli {

// Exit statuses of vornel-cli.
enum Exit {
    exitOk = 0,
    exitNoPortrait = 1, // failed, canceled, no output, no prediction, or photo rejected
    exitBadInput = 2,   // usage error or a photo that cannot be read
    exitDownloadFailed = 3,
};

// Runs the command line inside a running QCoreApplication; returns the exit
// status once the command has finished.
int run(const QStringList& arguments);

} // namespace vornel::cli
