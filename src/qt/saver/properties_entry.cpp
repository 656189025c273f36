// The properties dialog the host shows; see properties_entry.h. While it is open it carries its
// title for other starts of the program, which ask it to come forward instead of opening another.
#include "qt/saver/properties_entry.h"

#include "qt/saver/host_session.h"
#include "qt/platform/single_instance.h"
#include "qt/ui/properties_dialog.h"

namespace qsrn {

QDialog* CreatePropertiesDialog(HostSession& session, QWidget* parent) {
  auto* dialog = new PropertiesDialog(session.store(), parent, MakeFormHooks(&session.sound()));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QString::fromLatin1(kPropertiesTitle));
  QObject::connect(dialog, &PropertiesDialog::exitRequested, dialog, [&session] { session.state().ExitRequested = true; });

  auto* instance = new InstanceServer(dialog);
  instance->Listen(QString::fromLatin1(kPropertiesTitle));
  QObject::connect(instance, &InstanceServer::bringForwardRequested, dialog, [dialog] {
    dialog->showNormal();
    dialog->raise();
    dialog->activateWindow();
  });
  return dialog;
}

}  // namespace qsrn
