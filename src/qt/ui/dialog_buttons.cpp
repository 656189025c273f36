// The dialogs' button row; see dialog_buttons.h.
#include "qt/ui/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace qsrn {

DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout) {
  DialogButtons b{new QPushButton(QDialog::tr("&Defaults"), dialog), new QPushButton(QDialog::tr("OK"), dialog),
                  new QPushButton(QDialog::tr("Cancel"), dialog)};
  b.cmdDefaults->setObjectName(QStringLiteral("cmdDefaults"));
  b.cmdOK->setObjectName(QStringLiteral("cmdOK"));
  b.cmdDismiss->setObjectName(QStringLiteral("cmdDismiss"));
  b.cmdOK->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addWidget(b.cmdDefaults);
  row->addStretch();
  row->addWidget(b.cmdOK);
  row->addWidget(b.cmdDismiss);
  layout->addLayout(row);
  QObject::connect(b.cmdDismiss, &QPushButton::clicked, dialog, &QDialog::reject);
  return b;
}

}  // namespace qsrn
