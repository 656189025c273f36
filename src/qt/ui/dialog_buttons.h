// The button row of the advanced and sound dialogs: "&Defaults" on the left, "OK" (the default
// button) and "Cancel" on the right, named cmdDefaults, cmdOK and cmdDismiss; Cancel rejects.
#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace qsrn {

struct DialogButtons {
  QPushButton* cmdDefaults;
  QPushButton* cmdOK;
  QPushButton* cmdDismiss;
};

DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout);

}  // namespace qsrn
