#pragma once

class QAbstractButton;

// A button that shows the folder of the log file (the data folder) in the system's file
// manager, so that a user can attach clavitor.log to a bug report; the user is told when the
// folder cannot be shown.
void offerLogFolder(QAbstractButton* button);
