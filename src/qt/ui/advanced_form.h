// frmAdvanced, "Advanced Settings": the Qt view of AdvancedFormModel (forms/advanced_form_model.h,
// which holds the rules: the effect pairings, cycling, Defaults, what OK writes). The view lays out
// the controls, binds them to the model and shows the message preview in the chosen font.
// Usage: frmAdvanced form(store, message, parent); if (form.exec() == QDialog::Accepted) message =
// form.Message();
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "forms/advanced_form_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace qsrn {

class NumericField;
class SettingsStore;

class frmAdvanced : public QDialog {
  Q_OBJECT

 public:
  frmAdvanced(SettingsStore& store, const QString& message, QWidget* parent = nullptr);
  ~frmAdvanced() override;

  // The message text as the user left it (valid after OK).
  QString Message() const;

  // The controls, for F1 help and tests.
  QCheckBox* chkEffect(int i) const { return chkEffect_[static_cast<size_t>(i)]; }
  QCheckBox* chkCycle() const { return chkCycle_; }
  QCheckBox* chkResize() const { return chkResize_; }
  QLineEdit* txtAdv(int i) const;
  QLineEdit* txtMessage() const { return txtMessage_; }
  QComboBox* cboFont() const { return cboFont_; }
  QLabel* lblPreview() const { return lblPreview_; }
  QPushButton* cmdOK() const { return cmdOK_; }

  // The index of the first item equal to text, or 0 when there is none.
  static int FindListIndex(const QStringList& list, const QString& text);
  // The font list's entry for a stored font name: the name itself when installed, else the family
  // the desktop draws that name with (so pressing OK keeps the message's look), else the first.
  static int FontIndexFor(const QStringList& families, const QString& name);
  // The eight check boxes as the Adv_PickQSRN bit set.
  int32_t PickMask() const { return model_.PickMask(); }
  const AdvancedFormModel& model() const { return model_; }

 private:
  void BuildEffects(QVBoxLayout* column);
  void BuildMessage(QVBoxLayout* column);
  // Shows the model's state in every control.
  void ShowModel();
  void cmdOK_Click();
  void UpdatePreview();
  void UpdateSwatch(QLabel* swatch, int field);

  AdvancedFormModel model_;
  std::array<QCheckBox*, AdvancedFormModel::kBoxCount> chkEffect_{};
  QCheckBox* chkCycle_ = nullptr;
  QGroupBox* fraCycle_ = nullptr;
  std::array<NumericField*, AdvancedFormModel::kFieldCount> txtAdv_{};
  QLabel* picHueStart_ = nullptr;
  QLabel* picHueFont_ = nullptr;
  QLineEdit* txtMessage_ = nullptr;
  QComboBox* cboFont_ = nullptr;
  QLabel* lblPreview_ = nullptr;
  QCheckBox* chkResize_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
};

}  // namespace qsrn
