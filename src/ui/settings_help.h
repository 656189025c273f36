// Help for the configuration dialogs: the README's section on the settings, opened in the
// desktop's browser, until the manual exists.
#pragma once

class QWidget;

namespace qsrn {

// Opens the help; tells the user in a message box when there is none to open.
void OpenSettingsHelp(QWidget* parent);

}  // namespace qsrn
