// The properties dialog the host shows; see properties_entry.h. For now it only tells where the
// settings are kept and offers Close and Exit. While it is open it carries its title for other
// starts of the program, which ask it to come forward instead of opening another.
#include "host/properties_entry.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/host_session.h"
#include "host/single_instance.h"

namespace qsrn {

QDialog* CreatePropertiesDialog(HostSession& session, QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QString::fromLatin1(kPropertiesTitle));

  auto* text = new QLabel(
      QObject::tr("Quasarine keeps its settings in\n%1\n\n"
                  "Settings cannot be edited from this window yet.")
          .arg(QString::fromStdString(session.store().Directory().string())),
      dialog);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QPushButton* exitButton = buttons->addButton(QObject::tr("E&xit"), QDialogButtonBox::DestructiveRole);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(exitButton, &QPushButton::clicked, dialog, [dialog, &session] {
    session.state().ExitRequested = true;
    dialog->reject();
  });

  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(text);
  layout->addWidget(buttons);

  auto* instance = new InstanceServer(dialog);
  instance->Listen(QString::fromLatin1(kPropertiesTitle));
  QObject::connect(instance, &InstanceServer::bringForwardRequested, dialog, [dialog] {
    dialog->raise();
    dialog->activateWindow();
  });
  return dialog;
}

}  // namespace qsrn
