// The one way the host shows the properties dialog (ui/properties_dialog.h): modeless for /C
// (or an empty command line), modal from the windowed display. The dialog may set HostState::ExitRequested.
#pragma once

class QDialog;
class QWidget;

namespace qsrn {

class HostSession;

// A new dialog titled "Quasarine Properties", deleted when closed.
QDialog* CreatePropertiesDialog(HostSession& session, QWidget* parent);

}  // namespace qsrn
